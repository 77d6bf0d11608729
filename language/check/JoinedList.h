#pragma once

#include <cstddef>
#include <deque>
#include <iterator>
#include <utility>
#include <vector>

namespace trvx {

// A list kept as the lists it was joined from, in order: joining moves no
// element and asks for no fresh memory. A check of a large file joins a
// hundred thousand findings from a list for each family and thread.
template <class T> class TJoinedList {
public:
    using TPart = std::deque<T>;

    class TIterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = T;
        using difference_type = std::ptrdiff_t;
        using pointer = const T*;
        using reference = const T&;

        TIterator() = default;
        reference operator*() const { return *m_it; }
        pointer operator->() const { return &*m_it; }
        TIterator& operator++() {
            ++m_it;
            Settle();
            return *this;
        }
        TIterator operator++(int) {
            TIterator old = *this;
            ++*this;
            return old;
        }
        bool operator==(const TIterator& other) const {
            return m_part == other.m_part && m_it == other.m_it;
        }

    private:
        friend class TJoinedList;
        TIterator(const std::vector<TPart>* parts, std::size_t part,
                  typename TPart::const_iterator it)
            : m_parts(parts), m_part(part), m_it(it) {
            Settle();
        }
        // From the end of a part on to the start of the next, but at the last.
        void Settle() {
            while (m_part + 1 < m_parts->size() && m_it == (*m_parts)[m_part].end())
                m_it = (*m_parts)[++m_part].begin();
        }

        const std::vector<TPart>* m_parts = nullptr;
        std::size_t m_part = 0;
        typename TPart::const_iterator m_it;
    };

    TJoinedList() : m_parts(1), m_ends(1, 0) {}

    void push_back(const T& value) {
        m_parts.back().push_back(value);
        ++m_ends.back();
    }
    // Appends the elements of part, moving the list, not them.
    void Join(TPart part) {
        if (part.empty())
            return;
        const std::size_t end = m_ends.back() + part.size();
        if (m_parts.back().empty()) {
            m_parts.back() = std::move(part);
            m_ends.back() = end;
            return;
        }
        m_parts.push_back(std::move(part));
        m_ends.push_back(end);
    }
    void insert(std::size_t at, const T& value) {
        const std::size_t p = PartOf(at);
        TPart& part = m_parts[p];
        part.insert(part.begin() + static_cast<std::ptrdiff_t>(at - Start(p)), value);
        for (std::size_t q = p; q < m_ends.size(); ++q)
            ++m_ends[q];
    }

    std::size_t size() const { return m_ends.back(); }
    bool empty() const { return size() == 0; }
    const T& operator[](std::size_t i) const {
        const std::size_t p = PartOf(i);
        return m_parts[p][i - Start(p)];
    }
    TIterator begin() const { return {&m_parts, 0, m_parts.front().begin()}; }
    TIterator end() const { return {&m_parts, m_parts.size() - 1, m_parts.back().end()}; }

private:
    // The part that holds element i, or ends where it would go.
    std::size_t PartOf(std::size_t i) const {
        std::size_t p = 0;
        while (p + 1 < m_ends.size() && i >= m_ends[p])
            ++p;
        return p;
    }
    std::size_t Start(std::size_t p) const { return p == 0 ? 0 : m_ends[p - 1]; }

    std::vector<TPart> m_parts;      // never empty
    std::vector<std::size_t> m_ends; // the elements up to the end of each part
};

} // namespace trvx
