#pragma once

#include "language/Errors.h"
#include "language/ReadLoss.h"
#include "language/TarvinItem.h"

#include <string_view>

namespace trvx {

// The list-index error of a construct after a surplus '}' closed the root,
// with both places, so a message can point at the brace.
class ESurplusBrace : public EListError {
public:
    ESurplusBrace(TTextPosition brace, TTextPosition stop)
        : EListError(-1), Brace(brace), Stop(stop) {}
    TTextPosition Brace, Stop;
};

// Parses a language text into root, which the caller has cleared. Names,
// idents and texts that need no change borrow from text, whose bytes must
// outlive the tree. Stops at the end of text (the caller cuts it at a NUL).
// What the read skips is appended to losses when given, in text order,
// without line and column.
void ParseLanguageText(TTarvinItem& root, std::string_view text, TReadLosses* losses = nullptr);

} // namespace trvx
