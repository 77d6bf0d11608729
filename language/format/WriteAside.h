#pragma once

#include "format/Writer.h"

#include <cstdint>

namespace trvx {

// Entries (a node or a value each) in one range of a write on two threads:
// about a megabyte of text.
inline constexpr std::uint64_t kWriteRange = std::uint64_t{1} << 15;

// Whether a second thread may pay for itself: the machine has a processor
// to spare and root holds enough entries.
bool WorthWritingAside(const TTarvinItem& root, std::uint64_t rangeEntries = kWriteRange);

// Writes what WriteTree writes, byte for byte, on two threads: the walk is
// cut into ranges of rangeEntries entries. Another thread takes the next
// free range each time it has written one, into a few reused blocks; this
// thread writes a range itself when it comes to one nobody has taken, and
// passes the other's blocks on in their place, so all of sink's flushes
// happen here and in order. skip is asked here too, once per node reached,
// before the write begins. What a flush throws stops the other thread; what
// that thread throws is thrown here once the text before it has gone out.
void WriteAside(const TTarvinItem& root, TTextSink& sink, const TWriteFilter* skip,
                std::uint64_t rangeEntries = kWriteRange);

} // namespace trvx
