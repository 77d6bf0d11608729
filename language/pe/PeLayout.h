#pragma once

#include <cstddef>
#include <cstdint>

// Offsets and sizes of the PE/COFF structures the resource reader touches.
// Fields are read byte by byte as little-endian: file bytes are never cast
// to structures, so alignment and host byte order do not matter.
namespace trvx::pe {

inline std::uint16_t Le16(const unsigned char* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

inline std::uint32_t Le32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

// DOS header
constexpr std::size_t kDosHeaderSize = 64;
constexpr std::uint16_t kDosSignature = 0x5A4D; // "MZ"
constexpr std::size_t kDosNtHeadersOffset = 0x3C;

// "PE\0\0" and the COFF file header
constexpr std::uint32_t kPeSignature = 0x00004550;
constexpr std::size_t kNtFixedSize = 4 + 20;
constexpr std::size_t kFileNumberOfSections = 4 + 2;
constexpr std::size_t kFileSizeOfOptionalHeader = 4 + 16;

// Optional header: where the data directories start (NumberOfRvaAndSizes
// is the 4 bytes before them).
constexpr std::uint16_t kPe32Magic = 0x10B;
constexpr std::uint16_t kPe32PlusMagic = 0x20B;
constexpr std::size_t kPe32Directories = 96;
constexpr std::size_t kPe32PlusDirectories = 112;
constexpr std::uint32_t kResourceDirectoryIndex = 2;
constexpr std::size_t kOptionalHeaderNeeded =
    kPe32PlusDirectories + 8 * (kResourceDirectoryIndex + 1);

// Section header
constexpr std::size_t kSectionHeaderSize = 40;
constexpr std::size_t kSectionVirtualSize = 8;
constexpr std::size_t kSectionVirtualAddress = 12;
constexpr std::size_t kSectionRawSize = 16;
constexpr std::size_t kSectionRawOffset = 20;

// Resource directory: a 16-byte header, then named entries, then id entries,
// 8 bytes each. High bits flag a name (in the first word) and a
// subdirectory (in the second).
constexpr std::size_t kResDirHeaderSize = 16;
constexpr std::size_t kResDirNamedCount = 12;
constexpr std::size_t kResDirIdCount = 14;
constexpr std::size_t kResEntrySize = 8;
constexpr std::uint32_t kResHighBit = 0x80000000u;
constexpr std::size_t kResDataEntrySize = 16;

} // namespace trvx::pe
