#pragma once

#include <functional>
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
using CommandSetup = CommandRun (*)(CLI::App& app);

struct Command {
    std::string_view name;
    std::string_view summary;
    std::string_view description; // the help's prose, between the usage line and the options
    CommandSetup setup;
};

// Commands register themselves from their own file.
struct RegisterCommand {
    explicit RegisterCommand(Command command);
};
const std::vector<Command>& Commands();

} // namespace trvx::cli
