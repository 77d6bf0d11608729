#pragma once

#include <array>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <vector>

namespace trvx {

// N buffers passed from a producing thread to a consuming one and back, in
// order: the producer runs ahead by at most N, in memory reused.
template <class T, std::size_t N> class THandOff {
public:
    THandOff() {
        for (T& buffer : m_buffers)
            m_free.push_back(&buffer);
    }

    // Producer: a buffer to fill, once one is free; null once stopped.
    T* Free() {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return m_stopped || !m_free.empty(); });
        if (m_stopped)
            return nullptr;
        T* buffer = m_free.back();
        m_free.pop_back();
        return buffer;
    }
    void Filled(T* buffer) { Put(m_filled, buffer); }

    // Consumer: the next filled buffer, and back with Done once used.
    T* Next() {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return !m_filled.empty(); });
        T* buffer = m_filled.front();
        m_filled.pop_front();
        return buffer;
    }
    void Done(T* buffer) { Put(m_free, buffer); }

    // The producer gets no more buffers: the consumer is leaving.
    void Stop() {
        {
            const std::lock_guard lock(m_mutex);
            m_stopped = true;
        }
        m_changed.notify_all();
    }
    // Stops on leaving its scope, however the consumer leaves it: declared
    // after the producer's thread, it lets that thread end before the join.
    struct TStopOnExit {
        THandOff& handOff;
        ~TStopOnExit() { handOff.Stop(); }
    };

private:
    template <class List> void Put(List& list, T* buffer) {
        {
            const std::lock_guard lock(m_mutex);
            list.push_back(buffer);
        }
        m_changed.notify_all();
    }

    std::array<T, N> m_buffers;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<T*> m_free;
    std::deque<T*> m_filled;
    bool m_stopped = false;
};

} // namespace trvx
