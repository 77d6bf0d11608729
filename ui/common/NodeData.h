#pragma once

#include "tree/TarvinItem.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace tarvin {

// Colour state of a row: what the last Update To did to its entry.
enum TUpdateState : std::uint8_t { usNone = 0, usAdded = 1, usRemoved = 2 };

// Whether a row of the Added or Removed list stands for a node or a value.
enum TUpdateKind : std::uint8_t { ukItem = 0, ukValue = 1 };

// A row of the contents tree. Caption borrows the node's name bytes (in the
// file's code page) from the tree; rows are rebuilt whenever the tree's shape
// changes, so the bytes outlive the row.
struct TContentsNodeData {
    TUpdateState State = usNone;
    std::string_view Caption;
    trvx::TTarvinItem* Item = nullptr;
    int ImageIndex = 0;
    int SelectedIndex = 0;
};

// A row of the values view: row i shows value i of Item, read from the tree
// whenever the view asks.
struct TValueNodeData {
    TUpdateState State = usNone;
    trvx::TTarvinItem* Item = nullptr;
};

// A row of the Added or Removed list. ContentsNode is the node id of the
// contents-tree row (TContentsModel::NodeOf / IndexOfNode).
struct TUpdateNodeData {
    TUpdateKind Kind = ukItem;
    std::string Caption; // bytes in the file's code page
    int ContentsNode = -1;
    int ValueIndex = 0;
    int ImageIndex = 0;
};

} // namespace tarvin
