#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace CLI {
class App;
class Option;
} // namespace CLI

namespace trvx::cli {

// Options that several commands share, declared alike everywhere.

// A required positional file argument: a file name or "-".
CLI::Option* AddInputArgument(CLI::App& app, std::string& fileName, std::string_view name,
                              std::string_view description);
// -o, --output OUT; empty when not given.
CLI::Option* AddOutputOption(CLI::App& app, std::string& fileName);
// --base BASE; empty when not given.
CLI::Option* AddBaseOption(CLI::App& app, std::string& fileName);
// --force: write although a read lost text.
CLI::Option*
AddForceOption(CLI::App& app, bool& force,
               std::string_view description = "write even over a file when a read lost text");
// --codepage N: the translation is read in code page N, whatever its LangID
// says; 0 when not given.
CLI::Option* AddCodePageOption(CLI::App& app, int& codePage);
// --format with one of choices. Without a description the first choice is
// the default; with one, format stays as the caller set it.
CLI::Option* AddFormatOption(CLI::App& app, std::string& format,
                             const std::vector<std::string>& choices,
                             std::string_view description = {});

// A translation read beside an optional base and reported in one of several
// formats: what trvx check and trvx stats take.
struct TReportOptions {
    std::string file, base, format;
    int codePage = 0;
};
void DeclareReportOptions(CLI::App& app, TReportOptions& o, std::string_view fileDescription,
                          const std::vector<std::string>& formats);

} // namespace trvx::cli
