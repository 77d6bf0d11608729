#include "cli/Command.h"
#include "language/Errors.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <iostream>
#include <new>

namespace trvx::cli {

namespace {
std::vector<Command>& Registry() {
    static std::vector<Command> commands;
    return commands;
}

void PrintOverview(std::ostream& out) {
    out << "usage: trvx COMMAND [ARGS...]\n\n"
           "Batch jobs on Tarvin language files (.trvx) and host executables (.exe).\n\n"
           "Commands:\n";
    std::vector<Command> sorted = Commands();
    std::sort(sorted.begin(), sorted.end(),
              [](const Command& a, const Command& b) { return a.name < b.name; });
    for (const Command& c : sorted) {
        std::string name(c.name);
        name.resize(10, ' ');
        out << "  " << name << c.summary << "\n";
    }
    out << "\nRun 'trvx COMMAND --help' for a command's options.\n";
}
} // namespace

RegisterCommand::RegisterCommand(Command command) {
    Registry().push_back(command);
}

const std::vector<Command>& Commands() {
    return Registry();
}

} // namespace trvx::cli

int main(int argc, char** argv) {
    using namespace trvx::cli;
    std::ios::sync_with_stdio(false);
    Args args(argv + 1, argv + argc);
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        PrintOverview(args.empty() ? std::cerr : std::cout);
        return args.empty() ? 2 : 0;
    }
    const Command* command = nullptr;
    for (const Command& c : Commands())
        if (c.name == args[0])
            command = &c;
    if (!command) {
        std::cerr << "trvx: unknown command '" << args[0] << "'\n\n";
        PrintOverview(std::cerr);
        return 2;
    }
    Args rest(args.begin() + 1, args.end());
    if (std::find(rest.begin(), rest.end(), "--help") != rest.end() ||
        std::find(rest.begin(), rest.end(), "-h") != rest.end()) {
        std::cout << command->usage;
        return 0;
    }
    try {
        return command->run(rest);
    } catch (const UsageError& e) {
        std::cerr << "trvx " << command->name << ": " << e.message << "\n\n" << command->usage;
        return 2;
    } catch (const std::bad_alloc&) {
        std::cerr << "trvx: out of memory\n";
        return 1;
    } catch (const std::exception& e) {
        std::cout.flush();
        std::cerr << "trvx: " << e.what() << "\n";
        return 1;
    }
}
