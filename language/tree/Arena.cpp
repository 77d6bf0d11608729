#include "tree/Arena.h"

#include "tree/HugePages.h"

#include <cstdint>
#include <new>

namespace trvx {

namespace {
// One huge page from the start: growing from small chunks faulted in every
// 4 KB page of the first two megabytes one by one. A small tree pays one
// fault for it.
constexpr std::size_t kFirstChunk = kHugePage;

// The chunks are linked through their tails: where a leak checker cannot see
// into mappings, every chunk comes from the heap, or a tree kept until exit
// would count as leaked.
constexpr std::size_t kMappedChunk = kMappingHidesFromLeakChecks ? SIZE_MAX : kHugePage;
} // namespace

TArena::TArena() : m_monotonic(kFirstChunk, &m_upstream), m_helper(kFirstChunk, &m_upstream) {}

void* TArena::THugePages::do_allocate(std::size_t bytes, std::size_t alignment) {
    if (bytes < kMappedChunk)
        return ::operator new(bytes, std::align_val_t(alignment));
    return MapHugePages(bytes);
}

void TArena::THugePages::do_deallocate(void* p, std::size_t bytes, std::size_t alignment) {
    // Unsized: clang declares the sized form only with -fsized-deallocation.
    if (bytes < kMappedChunk)
        ::operator delete(p, std::align_val_t(alignment));
    else
        UnmapHugePages(p, bytes);
}

} // namespace trvx
