#pragma once

#include <CLI/CLI.hpp>

#include <string>
#include <string_view>

namespace trvx::cli {

// Fills the man page's template from the parser: "@SYNOPSIS name@" becomes
// the command's synopsis entry and "@USAGE name@" the heading of its
// section, "@VERSION@" the version. Throws std::runtime_error when the
// template names a command the parser lacks, or misses one it has.
std::string ManPage(const CLI::App& root, std::string_view page, std::string_view version);

} // namespace trvx::cli
