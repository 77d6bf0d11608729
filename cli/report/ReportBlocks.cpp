#include "cli/report/ReportBlocks.h"

#include <ostream>

namespace trvx {

TChunkedOut::TChunkedOut(std::ostream& out) : m_out(out) {
    m_text.reserve(kChunk + kChunk / 4);
}

void TChunkedOut::Flush() {
    m_out.write(m_text.data(), static_cast<std::streamsize>(m_text.size()));
    m_text.clear();
}

void TChunkedOut::Write(std::string_view text) {
    Flush();
    m_out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

std::size_t ReportBlockForThisMachine() {
    return std::thread::hardware_concurrency() > 1 ? kReportBlock : kOneBlock;
}

bool TBlockQueue::Put(std::string& text, std::stop_token stop) {
    std::unique_lock lock(m_mutex);
    if (!m_changed.wait(lock, stop, [&] { return m_filled < kSlots; }))
        return false;
    std::string& slot = m_slots[(m_first + m_filled) % kSlots];
    slot.swap(text);
    text.clear();
    ++m_filled;
    m_changed.notify_all();
    return true;
}

void TBlockQueue::Fail(std::exception_ptr error) {
    const std::lock_guard lock(m_mutex);
    m_error = std::move(error);
    m_changed.notify_all();
}

const std::string& TBlockQueue::Next() {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] { return m_filled > 0 || m_error; });
    if (m_filled == 0)
        std::rethrow_exception(m_error);
    // The second thread fills other slots only: this one is ours until Done.
    return m_slots[m_first];
}

void TBlockQueue::Done() {
    const std::lock_guard lock(m_mutex);
    m_slots[m_first].clear();
    m_first = (m_first + 1) % kSlots;
    --m_filled;
    m_changed.notify_all();
}

} // namespace trvx
