#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace trvx::cli {

// A usage error: printed with the command's usage, exit status 2.
struct UsageError {
    std::string message;
};

using Args = std::vector<std::string>;

struct Command {
    std::string_view name;
    std::string_view summary;
    std::string_view usage; // full help text
    int (*run)(const Args& args);
};

// Commands register themselves from their own file.
struct RegisterCommand {
    explicit RegisterCommand(Command command);
};
const std::vector<Command>& Commands();

} // namespace trvx::cli
