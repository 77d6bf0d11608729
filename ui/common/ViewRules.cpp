#include "ui/common/ViewRules.h"

#include "editing/ValueKind.h"
#include "encoding/AsciiCase.h"
#include "tree/NameTables.h"
#include "ui/common/TextCodec.h"

#include <algorithm>
#include <numeric>

namespace tarvin {

namespace {

int LastDelimiter(const QString& fileName) {
    return std::max(fileName.lastIndexOf(u'/'), fileName.lastIndexOf(u'\\'));
}

} // namespace

QString DocumentName(const QString& fileName) {
    QString name = fileName.mid(LastDelimiter(fileName) + 1);
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot >= 0)
        name.truncate(dot);
    return name;
}

QString CaptionForFileName(const QString& fileName) {
    return QStringLiteral("Tarvin - ") + DocumentName(fileName);
}

TControlPrefixes::TControlPrefixes() {
    std::copy(trvx::ControlPrefixNames.begin(), trvx::ControlPrefixNames.end(), m_sorted.begin());
    std::sort(m_sorted.begin(), m_sorted.end(),
              [](std::string_view a, std::string_view b) { return CompareTextAscii(a, b) < 0; });
}

int TControlPrefixes::IndexOf(std::string_view prefix) const {
    for (std::size_t i = 0; i < m_sorted.size(); ++i)
        if (m_sorted[i].size() == prefix.size() && CompareTextAscii(m_sorted[i], prefix) == 0)
            return static_cast<int>(i);
    return -1;
}

TNodeLook NodeLook(std::string_view childName, const TControlPrefixes& prefixes) {
    TNodeLook look;
    const std::size_t colon = childName.find(':');
    if (colon == std::string_view::npos) {
        look.Caption = childName;
        return look;
    }
    const int position = prefixes.IndexOf(childName.substr(0, colon + 1));
    look.Caption = childName.substr(colon + 1);
    look.ImageIndex = look.SelectedIndex = position + iiFirstPrefix;
    return look;
}

int CompareTextAscii(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const int x = trvx::UpperAscii(static_cast<unsigned char>(a[i]));
        const int y = trvx::UpperAscii(static_cast<unsigned char>(b[i]));
        if (x != y)
            return x - y;
    }
    return (a.size() < b.size()) ? -1 : (a.size() > b.size() ? 1 : 0);
}

namespace {

std::uint64_t SevenBytesKey(std::string_view text) {
    // Seven folded bytes, zero-padded, then the length up to seven: a
    // padding zero and a zero byte tie, and the length then puts the prefix
    // first, as CompareTextAscii does.
    constexpr std::size_t kBytes = 7;
    std::uint64_t key = 0;
    for (std::size_t i = 0; i < kBytes; ++i)
        key = (key << 8) |
              (i < text.size() ? trvx::UpperAscii(static_cast<unsigned char>(text[i])) : 0);
    return (key << 8) | std::min(text.size(), kBytes);
}

} // namespace

TCaptionKey CaptionSortKey(std::string_view caption) {
    // Equal heads mean equal first seven bytes, or equal short captions.
    const std::string_view tail = caption.size() > 7 ? caption.substr(7) : std::string_view();
    return {SevenBytesKey(caption), SevenBytesKey(tail)};
}

int CompareContentsNodes(const TContentsNodeData& a, const TContentsNodeData& b) {
    if (a.ImageIndex != b.ImageIndex)
        return a.ImageIndex - b.ImageIndex;
    return CompareTextAscii(a.Caption, b.Caption);
}

QString DisplayValue(std::string_view text, const trvx::CodePage& codePage) {
    const std::size_t cr = text.find('\r');
    if (cr == std::string_view::npos)
        return ShownText(text, codePage);
    return ShownText(text.substr(0, cr), codePage) + QString::fromUtf16(ContinuationMark);
}

int ValueRowImageIndex(std::string_view ident) {
    switch (trvx::ValueKindOfIdent(ident)) {
    case trvx::vkShortcut:
        return iiShortcutValue;
    case trvx::vkItems:
        return iiListValue;
    case trvx::vkString:
        break;
    }
    return iiStringValue;
}

int CompareUpdateRows(const TUpdateNodeData& a, const TUpdateNodeData& b, TUpdateSortKey key) {
    if (key == sbType)
        return a.ImageIndex - b.ImageIndex;
    return CompareTextAscii(a.Caption, b.Caption);
}

std::vector<int> SortedUpdateOrder(const std::vector<TUpdateNodeData>& rows, TUpdateSortKey key,
                                   bool descending) {
    std::vector<int> order(rows.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int x, int y) {
        const int c =
            CompareUpdateRows(rows[static_cast<size_t>(x)], rows[static_cast<size_t>(y)], key);
        return descending ? c > 0 : c < 0;
    });
    return order;
}

} // namespace tarvin
