#pragma once

#include "cli/Command.h"
#include "language/Tarvin.h"

#include <optional>
#include <string>

namespace trvx::cli {

// Reads a language file, a host module (".exe") or standard input ("-").
// A file that is no module is an error here: an empty tree helps no one.
void LoadInput(TTarvin& tree, const std::string& fileName);

// A tree that lives until the process ends. The system takes its memory
// back at exit in one go, far cheaper than freeing millions of nodes one by
// one; it stays reachable, so leak checkers do not count it.
TTarvin& ProcessTree();

// Writes text to the file (atomically) or to standard output when empty or "-".
void WriteOutput(const std::string& fileName, std::string_view text);
void SaveTree(const TTarvin& tree, const std::string& fileName);

// Small argument parser: positional arguments and options, some taking a value.
class ArgParser {
public:
    ArgParser(const Args& args, std::initializer_list<std::string_view> flags,
              std::initializer_list<std::string_view> valued);
    bool Has(std::string_view flag) const;
    std::optional<std::string> Value(std::string_view option) const;
    const std::vector<std::string>& Positional() const { return m_positional; }
    // Exactly n positional arguments, else a usage error.
    void ExpectPositional(std::size_t min, std::size_t max) const;

private:
    std::vector<std::string> m_positional;
    std::vector<std::pair<std::string, std::string>> m_options;
};

} // namespace trvx::cli
