#pragma once

#include "document/Tarvin.h"

#include <optional>
#include <string>

namespace trvx::cli {

// Reads a translation and, when baseName is given, its base into a tree of
// the process (null without one). The two files are independent and often
// large, so they are read at the same time.
const TTarvin* LoadWithBase(TTarvin& translation, const std::string& fileName,
                            const std::optional<std::string>& baseName);

} // namespace trvx::cli
