#include "format/ByteBuffer.h"

#include "tree/HugePages.h"

#include <cstdlib>
#include <new>

namespace trvx {

TByteBuffer::TByteBuffer(std::size_t size) : m_size(size) {
    if (size >= kHugePage) {
        m_capacity = (size + kHugePage - 1) / kHugePage * kHugePage;
        m_data = static_cast<char*>(MapHugePages(m_capacity));
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
        UnmapHugePages(m_data, m_capacity);
    else
        std::free(m_data);
    m_data = nullptr;
    m_size = m_capacity = 0;
}

} // namespace trvx
