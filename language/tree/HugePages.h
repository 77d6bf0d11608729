#pragma once

#include <cstddef>

namespace trvx {

// Blocks of at least this size are worth mapping whole: fresh small pages
// cost more to fault in than parsing their bytes does, so the mapping asks
// for transparent huge pages.
inline constexpr std::size_t kHugePage = std::size_t{2} << 20;

// A fresh mapping of bytes, zeroed; throws std::bad_alloc when there is none.
void* MapHugePages(std::size_t bytes);
void UnmapHugePages(void* p, std::size_t bytes) noexcept;

} // namespace trvx
