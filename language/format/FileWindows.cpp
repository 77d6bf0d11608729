#include "format/FileWindows.h"

#include "tree/Errors.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace trvx {

TFileWindows::TFileWindows(const std::string& fileName, std::size_t windowSize, std::uint64_t limit)
    : m_fileName(fileName), m_limit(limit), m_block(std::max<std::size_t>(windowSize, 1)) {
    std::uint64_t size = 0;
    m_fd = OpenFileToRead(fileName, limit, size);
    char head[3];
    m_head.assign(head, ReadAt(head, sizeof head, 0));
    Fill(0);
}

std::size_t TFileWindows::ReadAt(char* out, std::size_t size, std::uint64_t offset) const {
    for (;;) {
        const ssize_t n = ::pread(m_fd.Get(), out, size, static_cast<off_t>(offset));
        if (n >= 0)
            return static_cast<std::size_t>(n);
        if (errno != EINTR)
            throw EFOpenError(FullPath(m_fileName), SystemMessage(errno));
    }
}

std::size_t TFileWindows::Fill(std::size_t used) {
    // A construct longer than half the block would be read again and again.
    if (used > m_block.size() / 2)
        m_block.resize(m_block.size() * 2);
    const std::size_t n = ReadAt(m_block.data() + used, m_block.size() - used, m_readTo);
    if (m_readTo + n > m_limit)
        throw EFOpenError(FullPath(m_fileName), TooLargeMessage(m_limit));
    const char* const fresh = m_block.data() + used;
    std::size_t text = n;
    if (const void* nul = std::memchr(fresh, 0, n)) {
        text = static_cast<std::size_t>(static_cast<const char*>(nul) - fresh);
        m_nul = m_readTo + text;
    }
    m_readTo += n;
    m_size = used + text;
    m_ended = n == 0 || m_nul != UINT64_MAX;
    return text;
}

bool TFileWindows::Advance(std::size_t keep) {
    keep = std::min(keep, m_size);
    std::memmove(m_block.data(), m_block.data() + m_size - keep, keep);
    m_offset += m_size - keep;
    m_size = keep;
    return !m_ended && Fill(keep) > 0;
}

TTextPosition TFileWindows::PositionAt(std::size_t offset) {
    // A line break is LF, CR LF or a CR alone, as ResolvePositions has it.
    if (offset < m_countedTo) {
        m_countedTo = 0;
        m_line = 1;
        m_lineStart = 0;
    }
    const std::uint64_t end = std::min<std::uint64_t>(offset, m_nul);
    char chunk[1 << 16];
    while (m_countedTo < end) {
        // One byte more than is counted, to tell CR LF from a CR alone.
        const std::size_t want =
            static_cast<std::size_t>(std::min<std::uint64_t>(end - m_countedTo, sizeof chunk - 1)) +
            1;
        const std::size_t n = ReadAt(chunk, want, m_countedTo);
        if (n == 0)
            break; // cut short since
        std::size_t counted = std::min(n, want - 1);
        if (n < want && n > 1 && chunk[n - 1] == '\r')
            --counted; // a short read: the next one tells
        for (std::size_t i = 0; i < counted; ++i) {
            const char c = chunk[i];
            if (c == '\n' || (c == '\r' && (i + 1 >= n || chunk[i + 1] != '\n'))) {
                ++m_line;
                m_lineStart = m_countedTo + i + 1;
            }
        }
        m_countedTo += counted;
    }
    return {m_line, offset - static_cast<std::size_t>(m_lineStart) + 1};
}

void TFileWindows::FindByteOrderMark(TReadLosses& losses) const {
    const std::size_t before = losses.size();
    trvx::FindByteOrderMark(m_head, losses);
    for (std::size_t i = before; i < losses.size(); ++i) {
        losses[i].Line = 1;
        losses[i].Column = 1;
    }
}

void TFileWindows::FindNulLoss(TReadLosses& losses) {
    char chunk[1 << 16];
    // A read that stopped early has not seen the whole text.
    while (m_nul == UINT64_MAX) {
        const std::size_t n = ReadAt(chunk, sizeof chunk, m_readTo);
        if (n == 0)
            return;
        if (const void* nul = std::memchr(chunk, 0, n))
            m_nul = m_readTo + static_cast<std::size_t>(static_cast<const char*>(nul) - chunk);
        m_readTo += n;
    }
    // NULs and blanks padding the end of a resource lose nothing.
    std::uint64_t at = m_nul;
    bool loses = false;
    for (;;) {
        const std::size_t n = ReadAt(chunk, sizeof chunk, at);
        if (n == 0)
            break;
        loses = loses || std::any_of(chunk, chunk + n,
                                     [](char c) { return static_cast<unsigned char>(c) > 32; });
        at += n;
    }
    if (!loses)
        return;
    const TTextPosition position = PositionAt(static_cast<std::size_t>(m_nul));
    losses.push_back({TReadLossKind::Nul, static_cast<std::size_t>(m_nul), position.Line,
                      position.Column, static_cast<std::size_t>(at - m_nul - 1)});
}

} // namespace trvx
