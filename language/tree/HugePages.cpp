#include "tree/HugePages.h"

#include <cstdint>
#include <new>
#include <sys/mman.h>

namespace trvx {

namespace {

// Under AddressSanitizer a list keeps to the heap, as the arena's chunks do.
constexpr bool kHeapLists = kMappingHidesFromLeakChecks;

constexpr std::size_t kMappedList = std::size_t{128} << 10;

// Whole huge pages, so that the last one is backed as the others are.
std::size_t MappedSize(std::size_t bytes) {
    return (bytes + kHugePage - 1) / kHugePage * kHugePage;
}

} // namespace

void* MapHugePages(std::size_t bytes) {
    // The kernel backs only 2 MB-aligned stretches with huge pages, and a
    // plain mapping is seldom aligned: map a huge page more, keep the
    // aligned middle.
    constexpr std::size_t kPage = 4096;
    bytes = (bytes + kPage - 1) / kPage * kPage;
    const std::size_t span = bytes + kHugePage;
    void* raw = mmap(nullptr, span, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED)
        throw std::bad_alloc();
    const auto first = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t aligned = (first + kHugePage - 1) / kHugePage * kHugePage;
    if (const std::size_t head = aligned - first; head != 0)
        munmap(raw, head);
    if (const std::size_t tail = first + span - (aligned + bytes); tail != 0)
        munmap(reinterpret_cast<void*>(aligned + bytes), tail);
    void* p = reinterpret_cast<void*>(aligned);
    madvise(p, bytes, MADV_HUGEPAGE);
    return p;
}

void UnmapHugePages(void* p, std::size_t bytes) noexcept {
    munmap(p, bytes);
}

void* AllocateList(std::size_t bytes, std::size_t alignment) {
    if (kHeapLists || bytes < kMappedList)
        return ::operator new(bytes, std::align_val_t(alignment));
    return MapHugePages(MappedSize(bytes));
}

void FreeList(void* p, std::size_t bytes, std::size_t alignment) noexcept {
    if (kHeapLists || bytes < kMappedList)
        ::operator delete(p, std::align_val_t(alignment));
    else
        UnmapHugePages(p, MappedSize(bytes));
}

} // namespace trvx
