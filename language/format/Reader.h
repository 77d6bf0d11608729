#pragma once

#include "format/LanguageSink.h"
#include "format/ReadLoss.h"
#include "format/TextWindows.h"
#include "tree/Errors.h"
#include "tree/TarvinItem.h"

#include <cstddef>
#include <memory_resource>
#include <string_view>
#include <vector>

namespace trvx {

// Where the text of one value stands in the parsed bytes: from just after
// its '=' to the end of its quoted string or list (SelfEnding), or to the
// last non-blank before the line break or brace that ended it. Lets a caller replace
// one value and keep every other byte of the file.
struct TValueSpan {
    const TTarvinItem* Node;
    int Index;
    std::size_t Begin;
    std::size_t End;
    bool SelfEnding;
};

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
// without line and column. With spans, every stored value's span is
// appended, in text order. With helper, a large text is read on two
// threads, the second one's nodes taken from helper, which must live as
// long as root's resource; the tree, losses and errors are the same.
void ParseLanguageText(TTarvinItem& root, std::string_view text, TReadLosses* losses = nullptr,
                       std::vector<TValueSpan>* spans = nullptr,
                       std::pmr::memory_resource* helper = nullptr);
// The same read, on one thread, into sink instead of a tree: the same
// entries in the same order, the same losses and errors.
void ParseLanguageText(TLanguageSink& sink, std::string_view text, TReadLosses* losses = nullptr);
// The same read of a text in windows; the sink's strings last until its next
// call. Each loss comes with its line and column.
void ParseLanguageText(TLanguageSink& sink, TTextWindows& text, TReadLosses* losses = nullptr);
// The two-thread read with the text from byte split on read by the second
// thread, wherever split falls; ParseLanguageText picks it near the middle.
void ParseLanguageTextSplit(TTarvinItem& root, std::string_view text, TReadLosses* losses,
                            std::pmr::memory_resource* helper, std::size_t split);

} // namespace trvx
