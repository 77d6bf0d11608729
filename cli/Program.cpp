#include "cli/Program.h"

#include "cli/HelpFormatter.h"

#include <exception>
#include <iostream>
#include <memory>
#include <new>

#ifndef TARVIN_VERSION
#define TARVIN_VERSION "unknown"
#endif

namespace trvx::cli {

namespace {

std::vector<Command>& Registry() {
    static std::vector<Command> commands;
    return commands;
}

int UsageFailure(const CLI::App& command, const std::string& message) {
    std::cout.flush();
    const bool isRoot = !command.get_parent();
    std::cerr << (isRoot ? "trvx" : "trvx " + command.get_name()) << ": " << message << "\n";
    if (isRoot)
        std::cerr << "\n" << Overview(command);
    else
        std::cerr << UsageLine(command) << "\nRun 'trvx help " << command.get_name()
                  << "' for its options.\n";
    return 2;
}

// The parser's complaint in the words the tool has always used.
std::string UsageMessage(const CLI::ParseError& error, const CLI::App& command) {
    const std::string_view what = error.what();
    if (dynamic_cast<const CLI::ExtrasError*>(&error)) {
        const std::vector<std::string> extra = command.remaining();
        if (!extra.empty())
            return extra.front().size() > 1 && extra.front()[0] == '-'
                       ? "unknown option " + extra.front()
                       : "too many arguments";
    }
    if (dynamic_cast<const CLI::ArgumentMismatch*>(&error) && what.starts_with("-"))
        return "option " + std::string(what.substr(0, what.find(':'))) + " needs a value";
    constexpr std::string_view required = " is required";
    if (dynamic_cast<const CLI::RequiredError*>(&error) && what.ends_with(required))
        return "missing argument " + std::string(what.substr(0, what.size() - required.size()));
    return std::string(what);
}

// The command the parser stopped in: the error belongs to it.
const CLI::App& SelectedCommand(const CLI::App& root) {
    const std::vector<const CLI::App*> selected =
        root.get_subcommands([](const CLI::App* c) { return c->parsed(); });
    return selected.empty() ? root : *selected.front();
}

} // namespace

TProgram::TProgram() : m_root("", "trvx") {
    m_root.formatter(std::make_shared<THelpFormatter>());
    m_root.set_help_flag("-h,--help", "show this help");
    m_root.set_version_flag("--version", "trvx " TARVIN_VERSION, "show the version of trvx");
    m_root.require_subcommand(1);
    for (const Command& c : Registry()) {
        CLI::App* app = m_root.add_subcommand(std::string(c.name), std::string(c.summary));
        app->footer(std::string(c.description));
        app->set_help_flag("-h,--help", "show this help");
        m_runs[app] = c.setup(*app);
    }
    CLI::App* help = m_root.add_subcommand("help", "show the options of a command");
    help->footer("Prints the help of COMMAND, or without one the list of commands.\n");
    help->set_help_flag("-h,--help", "show this help");
    help->add_option("COMMAND", m_helpTopic, "the command to explain");
    m_runs[help] = [this, help] { return Help(*help); };
}

int TProgram::Run(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << Overview(m_root);
        return 2;
    }
    try {
        m_root.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        std::cout << SelectedCommand(m_root).help();
        return 0;
    } catch (const CLI::CallForVersion& e) {
        std::cout << e.what() << "\n";
        return 0;
    } catch (const CLI::ParseError& e) {
        const CLI::App& command = SelectedCommand(m_root);
        if (&command == &m_root && argv[1][0] != '-')
            return UsageFailure(m_root, "unknown command '" + std::string(argv[1]) + "'");
        return UsageFailure(command, UsageMessage(e, command));
    }
    const CLI::App& command = SelectedCommand(m_root);
    try {
        return m_runs.at(&command)();
    } catch (const UsageError& e) {
        return UsageFailure(command, e.message);
    } catch (const std::bad_alloc&) {
        std::cout.flush();
        std::cerr << "trvx: out of memory\n";
        return 1;
    } catch (const std::exception& e) {
        std::cout.flush();
        std::cerr << "trvx: " << e.what() << "\n";
        return 1;
    }
}

int TProgram::Help(const CLI::App& help) {
    if (m_helpTopic.empty()) {
        std::cout << Overview(m_root);
        return 0;
    }
    for (const CLI::App* c : m_root.get_subcommands([](const CLI::App*) { return true; }))
        if (c->get_name() == m_helpTopic) {
            std::cout << c->help();
            return 0;
        }
    return UsageFailure(help, "unknown command '" + m_helpTopic + "'");
}

RegisterCommand::RegisterCommand(Command command) {
    Registry().push_back(command);
}

const std::vector<Command>& Commands() {
    return Registry();
}

} // namespace trvx::cli
