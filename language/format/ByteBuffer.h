#pragma once

#include <cstddef>
#include <utility>

namespace trvx {

// A block of uninitialised bytes. Large blocks are mapped with transparent
// huge pages asked for, since fresh small pages cost more to fault in than
// parsing their bytes does.
class TByteBuffer {
public:
    TByteBuffer() = default;
    explicit TByteBuffer(std::size_t size);
    ~TByteBuffer();
    TByteBuffer(TByteBuffer&& other) noexcept
        : m_data(std::exchange(other.m_data, nullptr)), m_size(std::exchange(other.m_size, 0)),
          m_capacity(std::exchange(other.m_capacity, 0)), m_mapped(other.m_mapped) {}
    TByteBuffer& operator=(TByteBuffer&& other) noexcept;
    TByteBuffer(const TByteBuffer&) = delete;
    TByteBuffer& operator=(const TByteBuffer&) = delete;

    char* Data() { return m_data; }
    const char* Data() const { return m_data; }
    std::size_t Size() const { return m_size; }
    std::size_t Capacity() const { return m_capacity; }
    // Only shrinks: the bytes past the new size are left alone.
    void Truncate(std::size_t size) {
        if (size < m_size)
            m_size = size;
    }

private:
    void Release() noexcept;

    char* m_data = nullptr;
    std::size_t m_size = 0;
    std::size_t m_capacity = 0;
    bool m_mapped = false;
};

} // namespace trvx
