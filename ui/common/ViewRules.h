#pragma once

#include "encoding/CodePage.h"
#include "ui/common/NodeData.h"

#include <QString>

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace tarvin {

// Icons of the shared image list, by role.
enum TImageIndex : int {
    iiFolderClosed = 0,
    iiFolderOpen = 1,
    iiFirstPrefix = 2, // "Action:" ... "Toolbar:" follow in sorted prefix order
    iiStringValue = 15,
    iiListValue = 16,
    iiShortcutValue = 17,
    iiCount = 18,
};

// A file's name without its folder and its extension.
QString DocumentName(const QString& fileName);
// "Tarvin - " and the DocumentName.
QString CaptionForFileName(const QString& fileName);

// The node-name prefixes that choose an icon, sorted once without regard to
// ASCII letter case; IndexOf gives the sorted position or -1.
class TControlPrefixes {
public:
    TControlPrefixes();
    int IndexOf(std::string_view prefix) const;
    int Count() const { return static_cast<int>(m_sorted.size()); }
    std::string_view operator[](int index) const { return m_sorted[static_cast<size_t>(index)]; }

private:
    std::array<std::string_view, 13> m_sorted;
};

// Caption and icons of a contents row for a child name: a leading "Prefix:"
// (up to the first colon) is cut from the caption and chooses the icon.
struct TNodeLook {
    std::string_view Caption;
    int ImageIndex = iiFolderClosed;
    int SelectedIndex = iiFolderOpen;
};
TNodeLook NodeLook(std::string_view childName, const TControlPrefixes& prefixes);

// Compares with only the ASCII letters folded to upper case, then by byte
// codes; a prefix sorts first. <0, 0, >0.
int CompareTextAscii(std::string_view a, std::string_view b);

// The first bytes of a caption as two numbers: where the keys of two
// captions differ, they order as CompareTextAscii orders the captions; equal
// keys leave the order to it. Sorting many rows compares keys kept with the
// rows instead of reading the captions, which lie scattered over the tree.
struct TCaptionKey {
    std::uint64_t Head = 0;
    std::uint64_t Tail = 0;
    auto operator<=>(const TCaptionKey&) const = default;
};
TCaptionKey CaptionSortKey(std::string_view caption);

// Order of siblings in the contents tree: by icon, then by caption.
int CompareContentsNodes(const TContentsNodeData& a, const TContentsNodeData& b);

// The text a value shows in one row: its first line and " »" when it has
// more than one (a carriage return starts the next line).
QString DisplayValue(std::string_view text, const trvx::CodePage& codePage);
// The continuation mark appended to a first line.
inline constexpr char16_t ContinuationMark[] = u" \u00BB";

// Icon of a value row in the update lists, by the exact ident.
int ValueRowImageIndex(std::string_view ident);

// Sort keys of the update lists.
enum TUpdateSortKey : int { sbType = 0, sbIdent = 1 };

int CompareUpdateRows(const TUpdateNodeData& a, const TUpdateNodeData& b, TUpdateSortKey key);

// The new order of rows (old positions, in new order): a stable sort in both
// directions, so descending does not reverse ties.
std::vector<int> SortedUpdateOrder(const std::vector<TUpdateNodeData>& rows, TUpdateSortKey key,
                                   bool descending);

} // namespace tarvin
