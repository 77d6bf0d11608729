#pragma once

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>

namespace trvx {

// An 8-bit string of the language tree. It either owns a heap copy of its
// bytes or borrows them from the buffer a tree was loaded from, so a load
// makes no copy of the texts it does not have to change.
class TStr {
public:
    TStr() = default;
    explicit TStr(std::string_view text) { Assign(text); }
    ~TStr() { Release(); }

    TStr(const TStr& other) {
        if (other.IsOwned())
            Assign(other.View());
        else {
            m_data = other.m_data;
            m_sizeAndFlag = other.m_sizeAndFlag;
        }
    }
    TStr(TStr&& other) noexcept
        : m_data(std::exchange(other.m_data, kEmpty)),
          m_sizeAndFlag(std::exchange(other.m_sizeAndFlag, 0)) {}
    TStr& operator=(TStr other) noexcept {
        std::swap(m_data, other.m_data);
        std::swap(m_sizeAndFlag, other.m_sizeAndFlag);
        return *this;
    }

    // The caller guarantees that the bytes outlive the string.
    static TStr Borrow(std::string_view text) {
        TStr s;
        s.m_data = text.data();
        s.m_sizeAndFlag = text.size();
        return s;
    }

    std::string_view View() const { return {m_data, Size()}; }
    std::string Str() const { return std::string(View()); }
    std::size_t Size() const { return m_sizeAndFlag & ~kOwnedFlag; }
    bool Empty() const { return Size() == 0; }
    bool IsOwned() const { return (m_sizeAndFlag & kOwnedFlag) != 0; }

private:
    static constexpr std::size_t kOwnedFlag = std::size_t{1} << (sizeof(std::size_t) * 8 - 1);
    static constexpr const char* kEmpty = "";

    void Assign(std::string_view text) {
        if (text.empty())
            return;
        char* copy = new char[text.size()];
        std::memcpy(copy, text.data(), text.size());
        m_data = copy;
        m_sizeAndFlag = text.size() | kOwnedFlag;
    }
    void Release() noexcept {
        if (IsOwned())
            delete[] m_data;
        m_data = kEmpty;
        m_sizeAndFlag = 0;
    }

    const char* m_data = kEmpty;
    std::size_t m_sizeAndFlag = 0;
};

} // namespace trvx
