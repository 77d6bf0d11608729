#pragma once

#include <filesystem>
#include <string>

namespace trvx::test {

struct TTrvxResult {
    int status;
    std::string out, err;
};

// Runs a shell command in dir and collects its exit status and both outputs.
TTrvxResult RunShell(const std::filesystem::path& dir, const std::string& command);

// Runs the built trvx with args (a shell word list) in dir and collects its
// exit status and both outputs.
TTrvxResult RunTrvx(const std::filesystem::path& dir, const std::string& args);

} // namespace trvx::test
