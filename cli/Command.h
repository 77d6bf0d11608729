#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace CLI {
class App;
}

namespace trvx::cli {

// A usage error found after parsing: printed with the command's usage line,
// exit status 2.
struct UsageError {
    std::string message;
};

// Declares a command's arguments and options on its parser and returns what
// runs it once they are parsed; the values live in whatever it captures.
using CommandRun = std::function<int()>;
using CommandSetup = std::function<CommandRun(CLI::App& app)>;

struct Command {
    std::string_view name;
    std::string_view summary;
    std::string_view description; // the help's prose, between the usage line and the options
    CommandSetup setup;
};

// The setup of a command whose arguments and options are the fields of one
// Options: declare names them on the parser, run runs with what was parsed.
template <class Options>
CommandSetup SetupOf(void (*declare)(CLI::App&, Options&), int (*run)(const Options&)) {
    return [declare, run](CLI::App& app) -> CommandRun {
        auto options = std::make_shared<Options>();
        declare(app, *options);
        return [options, run] { return run(*options); };
    };
}

// Commands register themselves from their own file.
struct RegisterCommand {
    explicit RegisterCommand(Command command);
};
const std::vector<Command>& Commands();

} // namespace trvx::cli
