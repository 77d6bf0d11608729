#pragma once

#include "format/Fd.h"
#include "format/FileIO.h"
#include "format/TextWindows.h"

#include <cstdint>
#include <string>
#include <vector>

namespace trvx {

// A file read as a language text in windows of one reused block: the text
// ends at its first NUL, as after ReadWholeFile and CutAtNul, and a file cut
// short while it is read just ends sooner. Lines are counted only when a
// position is asked for, by reading the file again from its start.
class TFileWindows final : public TTextWindows {
public:
    static constexpr std::size_t kWindowSize = std::size_t{1} << 20;

    // Opens the file and reads the first window. EFOpenError as
    // ReadWholeFile raises it, also from a later read.
    explicit TFileWindows(const std::string& fileName, std::size_t windowSize = kWindowSize,
                          std::uint64_t limit = kReadLimit);

    std::string_view Window() const override { return {m_block.data(), m_size}; }
    std::size_t WindowOffset() const override { return m_offset; }
    bool Advance(std::size_t keep) override;
    TTextPosition PositionAt(std::size_t offset) override;

    // The losses of the whole input that a reader cannot see, as
    // FindByteOrderMark and FindNulLoss find them, with their positions.
    void FindByteOrderMark(TReadLosses& losses) const;
    void FindNulLoss(TReadLosses& losses);

private:
    // Reads more after the first used bytes of the block; the count read.
    std::size_t Fill(std::size_t used);
    // Reads at offset; 0 at the file's end.
    std::size_t ReadAt(char* out, std::size_t size, std::uint64_t offset) const;

    std::string m_fileName;
    std::uint64_t m_limit;
    TFd m_fd;
    std::vector<char> m_block;
    std::size_t m_size = 0;           // of the window
    std::size_t m_offset = 0;         // of the window in the file
    std::uint64_t m_readTo = 0;       // the file is read up to here
    bool m_ended = false;             // no more text after the window
    std::uint64_t m_nul = UINT64_MAX; // the first NUL, once seen
    std::string m_head;               // the first bytes, for a byte-order mark
    // Where PositionAt counted up to, for the next one further on.
    std::uint64_t m_countedTo = 0;
    std::size_t m_line = 1;
    std::uint64_t m_lineStart = 0;
};

} // namespace trvx
