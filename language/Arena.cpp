#include "language/Arena.h"

#include <new>
#include <sys/mman.h>

namespace trvx {

namespace {
constexpr std::size_t kHugePage = std::size_t{2} << 20;
constexpr std::size_t kFirstChunk = std::size_t{64} << 10;
} // namespace

TArena::TArena() : m_monotonic(kFirstChunk, &m_upstream) {}

void* TArena::THugePages::do_allocate(std::size_t bytes, std::size_t alignment) {
    if (bytes < kHugePage)
        return ::operator new(bytes, std::align_val_t(alignment));
    void* p = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED)
        throw std::bad_alloc();
    madvise(p, bytes, MADV_HUGEPAGE);
    return p;
}

void TArena::THugePages::do_deallocate(void* p, std::size_t bytes, std::size_t alignment) {
    // Unsized: clang declares the sized form only with -fsized-deallocation.
    if (bytes < kHugePage)
        ::operator delete(p, std::align_val_t(alignment));
    else
        munmap(p, bytes);
}

} // namespace trvx
