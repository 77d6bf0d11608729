#pragma once

#include "editing/Shortcut.h"

#include <cstdint>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

namespace trvx {

// The first use of each shortcut in nested scopes, a scope seeing only what
// was added while it is the innermost. A shortcut is 16 bits, so one table
// indexed by it serves every scope: a slot counts for the scope whose stamp
// it bears, and a scope on closing puts back the slots it wrote over. A
// large file opens thousands of scopes and meets a hundred thousand uses.
template <class TUse> class TShortcutUses {
public:
    void Open() { m_scopes.push_back({++m_lastStamp, m_uses.size(), m_undo.size()}); }
    void Close() {
        const TScope& scope = m_scopes.back();
        for (std::size_t k = m_undo.size(); k > scope.FirstUndo; --k)
            m_slots[m_undo[k - 1].first] = m_undo[k - 1].second;
        m_undo.resize(scope.FirstUndo);
        m_uses.resize(scope.FirstUse);
        m_scopes.pop_back();
    }
    // In the innermost scope; null when it has none yet.
    TUse* Find(TShortCut code) {
        if (!m_slots)
            return nullptr;
        const TSlot slot = m_slots[code];
        return slot.Stamp == m_scopes.back().Stamp ? &m_uses[slot.Use] : nullptr;
    }
    // The first use of code in the innermost scope.
    void Add(TShortCut code, const TUse& use) {
        if (!m_slots)
            m_slots = std::make_unique<TSlot[]>(kCodes);
        m_undo.emplace_back(code, m_slots[code]);
        m_slots[code] = {m_scopes.back().Stamp, static_cast<std::uint32_t>(m_uses.size())};
        m_uses.push_back(use);
    }

private:
    static constexpr std::size_t kCodes = std::size_t{std::numeric_limits<TShortCut>::max()} + 1;
    struct TSlot {
        std::uint32_t Stamp = 0; // none: stamps start at 1
        std::uint32_t Use = 0;
    };
    struct TScope {
        std::uint32_t Stamp;
        std::size_t FirstUse;
        std::size_t FirstUndo;
    };

    std::unique_ptr<TSlot[]> m_slots; // made at the first use
    std::vector<TUse> m_uses;         // of the open scopes, the innermost last
    std::vector<std::pair<TShortCut, TSlot>> m_undo;
    std::vector<TScope> m_scopes;
    std::uint32_t m_lastStamp = 0;
};

} // namespace trvx
