#pragma once

#include <cstddef>
#include <memory_resource>

namespace trvx {

// Where a tree's nodes and lists live. Nodes are only ever appended while a
// file is read, so a monotonic arena serves them without per-node malloc
// cost and frees them all at once on the next load. Large chunks are asked
// for with transparent huge pages, since faulting in fresh small pages costs
// more than parsing their bytes.
class TArena {
public:
    TArena();
    std::pmr::memory_resource* Resource() { return &m_monotonic; }
    // A second resource of the same tree, for a reader's helper thread:
    // monotonic resources are not thread-safe.
    std::pmr::memory_resource* HelperResource() { return &m_helper; }
    // Every node allocated from the arena must be gone before this is called.
    void Release() {
        m_monotonic.release();
        m_helper.release();
    }

private:
    class THugePages : public std::pmr::memory_resource {
        void* do_allocate(std::size_t bytes, std::size_t alignment) override;
        void do_deallocate(void* p, std::size_t bytes, std::size_t alignment) override;
        bool do_is_equal(const std::pmr::memory_resource& other) const noexcept override {
            return this == &other;
        }
    };

    THugePages m_upstream;
    std::pmr::monotonic_buffer_resource m_monotonic;
    std::pmr::monotonic_buffer_resource m_helper;
};

} // namespace trvx
