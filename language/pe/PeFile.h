#pragma once

#include "format/ByteBuffer.h"
#include "format/Fd.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace trvx {

// A byte range of the module file.
struct TFileRange {
    std::uint64_t Offset = 0;
    std::uint64_t Size = 0;
};

// A PE image (PE32 or PE32+) opened as data: nothing is mapped for
// execution. Only the headers and the section table are read when it is
// opened; everything else is read on demand, each read checked against the
// file's size. This is what stands in for a loaded module's instance handle.
class TPeModule {
public:
    // nullopt when the file cannot be read or is no PE image: missing, not
    // a regular file, wrong signatures, headers or section table cut off.
    static std::optional<TPeModule> Load(const std::string& fileName);
    // The same for an image held in memory (one read from a pipe).
    static std::optional<TPeModule> FromBytes(TByteBuffer bytes);

    TPeModule(TPeModule&& other) noexcept = default;
    TPeModule& operator=(TPeModule&& other) noexcept = default;

    std::uint64_t FileSize() const { return m_fileSize; }

    // Reads size bytes at offset. False when they are not all in the file
    // or the read fails.
    bool ReadAt(std::uint64_t offset, void* dest, std::size_t size) const;

    // The file bytes behind the image range [rva, rva + size): all of them
    // must lie in one section's raw data inside the file.
    std::optional<TFileRange> MapRva(std::uint32_t rva, std::uint32_t size) const;

    // The bytes from the resource table's start to the end of its section's
    // raw data (clamped to the file); nullopt when the image has none or it
    // points outside every section. Directory offsets count from its start.
    std::optional<TFileRange> ResourceTable() const;

private:
    struct TSection {
        std::uint32_t VirtualAddress;
        std::uint32_t VirtualSize;
        std::uint32_t RawOffset;
        std::uint32_t RawSize;
    };

    TPeModule(TFd fd, std::uint64_t fileSize) : m_fd(std::move(fd)), m_fileSize(fileSize) {}
    bool ReadHeaders();
    // The section holding rva and the bytes of raw data from rva to its end.
    std::optional<TFileRange> RawBytesFrom(std::uint32_t rva) const;

    TFd m_fd; // not open: the image is m_bytes
    TByteBuffer m_bytes;
    std::uint64_t m_fileSize = 0;
    std::vector<TSection> m_sections;
    std::uint32_t m_resourceRva = 0; // 0: no resource table
};

// True when head, the first bytes of a file, is the start of a PE image:
// the "MZ" header and, where it points, the "PE" signature. The extension
// does not count: a host module is one whatever its name.
bool HasPeSignature(std::string_view head);
// How many bytes of a file HasPeSignature wants to see at most.
inline constexpr std::size_t kPeSignatureHead = 4096;

} // namespace trvx
