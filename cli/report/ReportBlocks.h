#pragma once

#include <algorithm>
#include <array>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <iosfwd>
#include <mutex>
#include <stop_token>
#include <string>
#include <string_view>
#include <thread>

namespace trvx {

// A report is built a piece at a time in one reused buffer and handed on
// whenever it is full, so a report of a hundred thousand findings never
// sits whole in memory.
class TChunkedOut {
public:
    explicit TChunkedOut(std::ostream& out);
    std::string& Text() { return m_text; }
    void Pass() {
        if (m_text.size() >= kChunk)
            Flush();
    }
    void Flush();
    // What was built so far, then text.
    void Write(std::string_view text);

private:
    static constexpr std::size_t kChunk = std::size_t{64} << 10;
    std::ostream& m_out;
    std::string m_text;
};

// Findings in a block, put into words by one thread. Their words lie all
// over the loaded file, so showing them waits on memory far more than
// writing does; two threads wait side by side.
inline constexpr std::size_t kReportBlock = 512;
inline constexpr std::size_t kOneBlock = ~std::size_t{0};
// kReportBlock with a second core, else kOneBlock.
std::size_t ReportBlockForThisMachine();

// The blocks the second thread has shown, on their way to the first.
class TBlockQueue {
public:
    // Second thread: hands text over and takes an empty buffer back; false
    // when told to stop.
    bool Put(std::string& text, std::stop_token stop);
    void Fail(std::exception_ptr error);
    // First thread: the next block, kept until Done; rethrows a failure.
    const std::string& Next();
    void Done();

private:
    static constexpr std::size_t kSlots = 2;
    std::mutex m_mutex;
    std::condition_variable_any m_changed;
    std::array<std::string, kSlots> m_slots;
    std::size_t m_first = 0;
    std::size_t m_filled = 0;
    std::exception_ptr m_error;
};

// Shows findings [0, count) in order: show(i) appends finding i to
// chunks.Text(). With blocks of block findings and more than one block,
// every second block is shown on another thread by a show of its own,
// makeShow(text), which appends to text.
template <class TShow, class TMakeShow>
void ShowInBlocks(TChunkedOut& chunks, std::size_t count, std::size_t block, TShow& show,
                  const TMakeShow& makeShow) {
    auto end = [&](std::size_t b) { return std::min(count, (b + 1) * block); };
    if (block == kOneBlock || count <= block) {
        for (std::size_t i = 0; i < count; ++i) {
            show(i);
            chunks.Pass();
        }
        return;
    }
    const std::size_t blocks = (count + block - 1) / block;
    TBlockQueue queue;
    std::jthread worker([&](std::stop_token stop) {
        try {
            std::string text;
            auto mine = makeShow(text);
            for (std::size_t b = 1; b < blocks; b += 2) {
                for (std::size_t i = b * block; i < end(b); ++i)
                    mine(i);
                if (!queue.Put(text, stop))
                    return;
            }
        } catch (...) {
            queue.Fail(std::current_exception());
        }
    });
    for (std::size_t b = 0; b < blocks; ++b) {
        if (b % 2 == 1) {
            chunks.Write(queue.Next());
            queue.Done();
            continue;
        }
        for (std::size_t i = b * block; i < end(b); ++i) {
            show(i);
            chunks.Pass();
        }
    }
}

} // namespace trvx
