#pragma once

#include "language/TarvinItem.h"

#include <string_view>

namespace trvx {

// Parses a language text into root, which the caller has cleared. Names,
// idents and texts that need no change borrow from text, whose bytes must
// outlive the tree. Stops at the end of text (the caller cuts it at a NUL).
void ParseLanguageText(TTarvinItem& root, std::string_view text);

} // namespace trvx
