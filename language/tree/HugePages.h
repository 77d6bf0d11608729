#pragma once

#include <cstddef>

namespace trvx {

// Blocks of at least this size are worth mapping whole: fresh small pages
// cost more to fault in than parsing their bytes does, so the mapping asks
// for transparent huge pages.
inline constexpr std::size_t kHugePage = std::size_t{2} << 20;

// Leak checkers do not look inside mapped memory: under AddressSanitizer
// whatever links to other blocks from within comes from the heap instead.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kMappingHidesFromLeakChecks = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool kMappingHidesFromLeakChecks = true;
#else
inline constexpr bool kMappingHidesFromLeakChecks = false;
#endif
#else
inline constexpr bool kMappingHidesFromLeakChecks = false;
#endif

// A fresh mapping of bytes, zeroed; throws std::bad_alloc when there is none.
void* MapHugePages(std::size_t bytes);
void UnmapHugePages(void* p, std::size_t bytes) noexcept;

// Memory for a list that may grow to megabytes: from 128 KB up it is mapped
// in whole huge pages, one fault for every two megabytes instead of one for
// every four kilobytes, which on a virtual machine cost more than clearing
// the rest of the huge page; below, it comes from the heap.
void* AllocateList(std::size_t bytes, std::size_t alignment);
void FreeList(void* p, std::size_t bytes, std::size_t alignment) noexcept;

template <class T> class THugeListAllocator {
public:
    using value_type = T;

    THugeListAllocator() = default;
    template <class U> THugeListAllocator(const THugeListAllocator<U>&) noexcept {}

    T* allocate(std::size_t n) { return static_cast<T*>(AllocateList(n * sizeof(T), alignof(T))); }
    void deallocate(T* p, std::size_t n) noexcept { FreeList(p, n * sizeof(T), alignof(T)); }

    template <class U> bool operator==(const THugeListAllocator<U>&) const noexcept { return true; }
};

} // namespace trvx
