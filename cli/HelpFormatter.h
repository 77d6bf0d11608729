#pragma once

#include <CLI/CLI.hpp>

#include <string>

namespace trvx::cli {

// "usage: trvx update TRANSLATION NEWBASE [-o OUT] ...", built from the
// options the command declares, so the help cannot name options it lacks.
std::string UsageLine(const CLI::App& app);

// The overview of all commands: what `trvx --help` prints.
std::string Overview(const CLI::App& root);

// A command's help: its usage line, its prose (the parser's footer), then
// one line per option. The root's help is the overview.
class THelpFormatter : public CLI::Formatter {
public:
    std::string make_help(const CLI::App* app, std::string name,
                          CLI::AppFormatMode mode) const override;
};

} // namespace trvx::cli
