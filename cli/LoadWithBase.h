#pragma once

#include "document/Tarvin.h"

#include <functional>
#include <optional>
#include <string>

namespace trvx::cli {

// Reads a translation while readBase reads what it likes of the base on
// another thread: the two files are independent and often large. An error
// of the translation's read wins.
void LoadBeside(TTarvin& translation, const std::string& fileName, const std::string& baseName,
                const std::function<void()>& readBase);

// Reads a translation and, when baseName is given, its base into a tree of
// the process (null without one). The two files are independent and often
// large, so they are read at the same time.
const TTarvin* LoadWithBase(TTarvin& translation, const std::string& fileName,
                            const std::optional<std::string>& baseName);

// The same for the commands that take an optional --base: the translation,
// read with the code page the user chose, into a tree of the process, and
// its base when baseName is not empty.
struct TTranslation {
    TTarvin& Tree;
    const TTarvin* Base;
};
TTranslation LoadTranslation(const std::string& fileName, const std::string& baseName,
                             int codePage);

} // namespace trvx::cli
