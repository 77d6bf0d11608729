#pragma once

#include "format/LanguageSink.h"

#include <functional>

namespace trvx {

// Runs read on a thread of its own and hands what it gives its sink to
// sink on this thread, in batches, in the same order: the parse of a text
// then overlaps with the work its entries cause here. Strings handed on
// last until sink's next call. What read throws is thrown here after the
// entries before it; what sink throws stops read.
void ReadAside(const std::function<void(TLanguageSink&)>& read, TLanguageSink& sink);

} // namespace trvx
