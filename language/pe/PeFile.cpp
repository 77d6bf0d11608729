#include "pe/PeFile.h"

#include "format/FileIO.h"
#include "pe/PeLayout.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace trvx {

using namespace pe;

std::optional<TPeModule> TPeModule::Load(const std::string& fileName) {
    std::string whyNot;
    TFd fd = OpenRegularFile(fileName, whyNot);
    if (!fd.IsOpen())
        return std::nullopt;
    struct stat st {};
    if (::fstat(fd.Get(), &st) != 0)
        return std::nullopt;
    TPeModule module(std::move(fd), static_cast<std::uint64_t>(st.st_size));
    if (!module.ReadHeaders())
        return std::nullopt;
    return module;
}

std::optional<TPeModule> TPeModule::FromBytes(TByteBuffer bytes) {
    TPeModule module(TFd(), bytes.Size());
    module.m_bytes = std::move(bytes);
    if (!module.ReadHeaders())
        return std::nullopt;
    return module;
}

bool HasPeSignature(std::string_view head) {
    if (head.size() < kDosHeaderSize || !head.starts_with("MZ"))
        return false;
    const std::uint64_t nt =
        Le32(reinterpret_cast<const unsigned char*>(head.data()) + kDosNtHeadersOffset);
    return nt <= head.size() && head.substr(nt).starts_with(std::string_view("PE\0\0", 4));
}

bool TPeModule::ReadAt(std::uint64_t offset, void* dest, std::size_t size) const {
    if (offset > m_fileSize || size > m_fileSize - offset)
        return false;
    if (!m_fd.IsOpen()) {
        if (size > 0)
            std::memcpy(dest, m_bytes.Data() + offset, size);
        return true;
    }
    auto* out = static_cast<unsigned char*>(dest);
    while (size > 0) {
        ssize_t n = ::pread(m_fd.Get(), out, size, static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) // an error, or the file shrank since it was opened
            return false;
        out += n;
        offset += static_cast<std::uint64_t>(n);
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool TPeModule::ReadHeaders() {
    unsigned char dos[kDosHeaderSize];
    if (!ReadAt(0, dos, sizeof dos) || Le16(dos) != kDosSignature)
        return false;
    const std::uint64_t ntHeaders = Le32(dos + kDosNtHeadersOffset);

    unsigned char nt[kNtFixedSize];
    if (!ReadAt(ntHeaders, nt, sizeof nt) || Le32(nt) != kPeSignature)
        return false;
    const std::uint32_t sectionCount = Le16(nt + kFileNumberOfSections);
    // The host's loader refuses an image without sections.
    if (sectionCount == 0)
        return false;
    const std::uint32_t optionalSize = Le16(nt + kFileSizeOfOptionalHeader);

    // Only the start of the optional header matters: its kind and where the
    // data directories are. The whole of it must still be in the file.
    const std::uint64_t optionalStart = ntHeaders + sizeof nt;
    unsigned char opt[kOptionalHeaderNeeded] = {};
    const std::size_t optRead = std::min<std::size_t>(optionalSize, sizeof opt);
    if (optRead < 2 || !ReadAt(optionalStart, opt, optRead))
        return false;
    std::size_t directories;
    switch (Le16(opt)) {
    case kPe32Magic:
        directories = kPe32Directories;
        break;
    case kPe32PlusMagic:
        directories = kPe32PlusDirectories;
        break;
    default:
        return false;
    }
    if (optionalSize < directories)
        return false;
    const std::uint32_t directoryCount = Le32(opt + directories - 4);
    const std::size_t resourceEntry = directories + kResourceDirectoryIndex * 8;
    if (directoryCount > kResourceDirectoryIndex && optionalSize >= resourceEntry + 8)
        m_resourceRva = Le32(opt + resourceEntry);

    const std::uint64_t tableStart = optionalStart + optionalSize;
    const std::uint64_t tableSize = std::uint64_t{sectionCount} * kSectionHeaderSize;
    if (tableStart > m_fileSize || tableSize > m_fileSize - tableStart)
        return false;
    std::vector<unsigned char> table(tableSize);
    if (!ReadAt(tableStart, table.data(), table.size()))
        return false;
    m_sections.reserve(sectionCount);
    for (std::uint32_t i = 0; i < sectionCount; ++i) {
        const unsigned char* s = table.data() + std::size_t{i} * kSectionHeaderSize;
        m_sections.push_back({Le32(s + kSectionVirtualAddress), Le32(s + kSectionVirtualSize),
                              Le32(s + kSectionRawOffset), Le32(s + kSectionRawSize)});
    }
    return true;
}

std::optional<TFileRange> TPeModule::RawBytesFrom(std::uint32_t rva) const {
    for (const TSection& s : m_sections) {
        // The loader maps VirtualSize bytes, or the raw size when that is 0.
        const std::uint64_t extent = s.VirtualSize ? s.VirtualSize : s.RawSize;
        if (rva < s.VirtualAddress || rva - s.VirtualAddress >= extent)
            continue;
        const std::uint64_t inFile =
            s.RawOffset < m_fileSize ? std::min<std::uint64_t>(s.RawSize, m_fileSize - s.RawOffset)
                                     : 0;
        const std::uint64_t backed = std::min(extent, inFile);
        const std::uint64_t skip = rva - s.VirtualAddress;
        if (skip > backed)
            return std::nullopt;
        return TFileRange{s.RawOffset + skip, backed - skip};
    }
    return std::nullopt;
}

std::optional<TFileRange> TPeModule::MapRva(std::uint32_t rva, std::uint32_t size) const {
    std::optional<TFileRange> raw = RawBytesFrom(rva);
    // An empty range may sit right at the end of a section.
    if (!raw && size == 0 && rva > 0)
        if (std::optional<TFileRange> before = RawBytesFrom(rva - 1); before && before->Size)
            raw = TFileRange{before->Offset + 1, before->Size - 1};
    if (!raw || size > raw->Size)
        return std::nullopt;
    return TFileRange{raw->Offset, size};
}

std::optional<TFileRange> TPeModule::ResourceTable() const {
    if (m_resourceRva == 0)
        return std::nullopt;
    return RawBytesFrom(m_resourceRva);
}

} // namespace trvx
