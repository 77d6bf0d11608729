#include "format/ReadLoss.h"

#include <algorithm>

namespace trvx {

bool LosesText(TReadLossKind kind) {
    return kind != TReadLossKind::Utf8Bom;
}

std::string DescribeReadLoss(const TReadLoss& loss) {
    switch (loss.Kind) {
    case TReadLossKind::Utf8Bom:
        return "a UTF-8 byte-order mark, read as the start of the first node's name";
    case TReadLossKind::Utf16Bom:
        return "a UTF-16 byte-order mark: the file is UTF-16, not 8-bit text";
    case TReadLossKind::Nul:
        return "a NUL byte ends the text; the " + std::to_string(loss.Skipped) +
               " bytes after it are not read";
    case TReadLossKind::UnterminatedValue:
        return "the end of the text cuts this value off (no closing line break, quote or "
               "brace): it is not stored";
    case TReadLossKind::RootValue:
        return "a value outside every node is never written";
    case TReadLossKind::TrailingText:
        return "text after the last node is not read";
    }
    return {};
}

void FindByteOrderMark(std::string_view input, TReadLosses& losses) {
    if (input.starts_with("\xEF\xBB\xBF"))
        losses.push_back({TReadLossKind::Utf8Bom, 0});
    else if (input.starts_with("\xFF\xFE") || input.starts_with("\xFE\xFF"))
        losses.push_back({TReadLossKind::Utf16Bom, 0});
}

void FindNulLoss(std::string_view input, TReadLosses& losses) {
    const std::size_t nul = input.find('\0');
    if (nul == std::string_view::npos)
        return;
    // NULs and blanks padding the end of a resource lose nothing.
    const std::string_view rest = input.substr(nul);
    if (std::any_of(rest.begin(), rest.end(),
                    [](char c) { return static_cast<unsigned char>(c) > 32; }))
        losses.push_back({TReadLossKind::Nul, nul, 0, 0, rest.size() - 1});
}

TTextPosition PositionAt(std::string_view text, std::size_t offset) {
    TReadLosses one{{TReadLossKind::TrailingText, offset}};
    ResolvePositions(text, one);
    return {one[0].Line, one[0].Column};
}

void ResolvePositions(std::string_view text, TReadLosses& losses) {
    std::size_t line = 1, lineStart = 0, at = 0;
    for (TReadLoss& loss : losses) {
        const std::size_t end = std::min(loss.Offset, text.size());
        for (; at < end; ++at) {
            if (text[at] == '\n' ||
                (text[at] == '\r' && (at + 1 >= text.size() || text[at + 1] != '\n'))) {
                ++line;
                lineStart = at + 1;
            }
        }
        loss.Line = line;
        loss.Column = loss.Offset - lineStart + 1;
    }
}

} // namespace trvx
