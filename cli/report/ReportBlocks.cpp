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

} // namespace trvx
