#pragma once

#include "cli/Command.h"
#include "language/Tarvin.h"

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

} // namespace trvx::cli
