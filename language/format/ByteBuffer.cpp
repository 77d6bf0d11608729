#include "format/ByteBuffer.h"

#include <cstdlib>
#include <new>
#include <sys/mman.h>

namespace trvx {

namespace {
constexpr std::size_t kHugePage = std::size_t{2} << 20;
}

TByteBuffer::TByteBuffer(std::size_t size) : m_size(size) {
    if (size >= kHugePage) {
        m_capacity = (size + kHugePage - 1) / kHugePage * kHugePage;
        void* p =
            mmap(nullptr, m_capacity, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (p == MAP_FAILED)
            throw std::bad_alloc();
        madvise(p, m_capacity, MADV_HUGEPAGE);
        m_data = static_cast<char*>(p);
        m_mapped = true;
    } else {
        m_capacity = size ? size : 1;
        m_data = static_cast<char*>(std::malloc(m_capacity));
        if (!m_data)
            throw std::bad_alloc();
    }
}

TByteBuffer::~TByteBuffer() {
    Release();
}

TByteBuffer& TByteBuffer::operator=(TByteBuffer&& other) noexcept {
    if (this != &other) {
        Release();
        m_data = std::exchange(other.m_data, nullptr);
        m_size = std::exchange(other.m_size, 0);
        m_capacity = std::exchange(other.m_capacity, 0);
        m_mapped = other.m_mapped;
    }
    return *this;
}

void TByteBuffer::Release() noexcept {
    if (!m_data)
        return;
    if (m_mapped)
        munmap(m_data, m_capacity);
    else
        std::free(m_data);
    m_data = nullptr;
    m_size = m_capacity = 0;
}

} // namespace trvx
