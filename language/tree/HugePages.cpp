#include "tree/HugePages.h"

#include <new>
#include <sys/mman.h>

namespace trvx {

void* MapHugePages(std::size_t bytes) {
    void* p = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED)
        throw std::bad_alloc();
    madvise(p, bytes, MADV_HUGEPAGE);
    return p;
}

void UnmapHugePages(void* p, std::size_t bytes) noexcept {
    munmap(p, bytes);
}

} // namespace trvx
