#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace trvx {

// What a read of a language text skipped or stopped at. The reader's rules
// stay as they are; this only tells the user where they dropped something.
enum class TReadLossKind {
    Utf8Bom,           // read as the start of the first name: kept, but no longer that name
    Utf16Bom,          // a UTF-16 file, which an 8-bit reader cannot read
    Nul,               // a NUL ends the text; something other than blanks follows it
    UnterminatedValue, // the end of the text cuts a value off: it is not stored
    RootValue,         // a value outside every node: stored, but never written
    TrailingText,      // text after the last construct: not read
};

struct TReadLoss {
    TReadLossKind Kind;
    std::size_t Offset;      // in bytes from the start of the input
    std::size_t Line = 0;    // from 1; line breaks are CR LF, CR or LF
    std::size_t Column = 0;  // from 1, in bytes
    std::size_t Skipped = 0; // Nul: the bytes after the NUL
};

using TReadLosses = std::vector<TReadLoss>;

// Whether writing the tree back loses text of the input. A UTF-8 mark is
// written back as it was read.
bool LosesText(TReadLossKind kind);

// The loss in words, for a message after "FILE:LINE:COLUMN: ".
std::string DescribeReadLoss(const TReadLoss& loss);

// The losses the reader cannot see, found in the whole input: a byte-order
// mark at its start, and a NUL that ends the text early.
void FindByteOrderMark(std::string_view input, TReadLosses& losses);
void FindNulLoss(std::string_view input, TReadLosses& losses);

struct TTextPosition {
    std::size_t Line = 1;
    std::size_t Column = 1;
};
TTextPosition PositionAt(std::string_view text, std::size_t offset);

// Fills in line and column of each loss; losses must be in offset order.
void ResolvePositions(std::string_view text, TReadLosses& losses);

} // namespace trvx
