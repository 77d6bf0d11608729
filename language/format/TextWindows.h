#pragma once

#include "format/ReadLoss.h"

#include <cstddef>
#include <string_view>

namespace trvx {

// A text handed to a reader in windows of one reused block, so a large file
// is read without a block of its size. A window's bytes last until Advance.
class TTextWindows {
public:
    virtual ~TTextWindows() = default;
    // The bytes handed out now, and where they start in the text.
    virtual std::string_view Window() const = 0;
    virtual std::size_t WindowOffset() const = 0;
    // Drops all but the last keep bytes of the window and reads on after
    // them. False when the text had no more: the window is then those bytes.
    virtual bool Advance(std::size_t keep) = 0;
    // Line and column of a byte of the text, as ResolvePositions finds them.
    virtual TTextPosition PositionAt(std::size_t offset) = 0;
};

} // namespace trvx
