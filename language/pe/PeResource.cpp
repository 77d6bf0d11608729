#include "pe/PeResource.h"

#include "encoding/AsciiCase.h"
#include "pe/PeLayout.h"

#include <algorithm>
#include <array>

namespace trvx {

using namespace pe;

namespace {

constexpr std::size_t kLongestName = 64;

// Reads of the resource table, each checked against the bytes its section
// really has in the file. Offsets count from the table's start.
class TResourceTable {
public:
    TResourceTable(const TPeModule& module, TFileRange table) : m_module(module), m_table(table) {}

    bool Read(std::uint64_t offset, void* dest, std::size_t size) const {
        return offset <= m_table.Size && size <= m_table.Size - offset &&
               m_module.ReadAt(m_table.Offset + offset, dest, size);
    }

    // The target word of the first entry of the directory at offset that
    // accept() takes; nullopt when none does or the directory is unreadable.
    template <class Accept>
    std::optional<std::uint32_t> FindEntry(std::uint32_t offset, Accept accept) const {
        unsigned char header[kResDirHeaderSize];
        if (!Read(offset, header, sizeof header))
            return std::nullopt;
        const std::size_t count =
            std::size_t{Le16(header + kResDirNamedCount)} + Le16(header + kResDirIdCount);
        const std::uint64_t first = std::uint64_t{offset} + kResDirHeaderSize;
        if (first > m_table.Size || count * kResEntrySize > m_table.Size - first)
            return std::nullopt;
        std::array<unsigned char, 256 * kResEntrySize> chunk;
        for (std::size_t done = 0; done < count;) {
            const std::size_t n = std::min(count - done, chunk.size() / kResEntrySize);
            if (!Read(first + done * kResEntrySize, chunk.data(), n * kResEntrySize))
                return std::nullopt;
            for (std::size_t i = 0; i < n; ++i) {
                const unsigned char* entry = chunk.data() + i * kResEntrySize;
                if (accept(Le32(entry)))
                    return Le32(entry + 4);
            }
            done += n;
        }
        return std::nullopt;
    }

    // True when the entry's name word refers to a string equal to name, ASCII
    // letters folded. A string that cannot be read equals nothing.
    bool NameIs(std::uint32_t nameWord, std::string_view name) const {
        if (!(nameWord & kResHighBit) || name.size() > kLongestName)
            return false;
        const std::uint32_t offset = nameWord & ~kResHighBit;
        unsigned char length[2];
        if (!Read(offset, length, 2) || Le16(length) != name.size())
            return false;
        unsigned char units[2 * kLongestName];
        if (!Read(std::uint64_t{offset} + 2, units, 2 * name.size()))
            return false;
        for (std::size_t i = 0; i < name.size(); ++i) {
            const char16_t unit = Le16(units + 2 * i);
            if (UpperAscii(unit) != UpperAscii(char16_t{static_cast<unsigned char>(name[i])}))
                return false;
        }
        return true;
    }

    std::optional<std::uint32_t> SubdirectoryNamed(std::uint32_t offset,
                                                   std::string_view name) const {
        std::optional<std::uint32_t> target =
            FindEntry(offset, [&](std::uint32_t nameWord) { return NameIs(nameWord, name); });
        if (!target || !(*target & kResHighBit))
            return std::nullopt;
        return *target & ~kResHighBit;
    }

private:
    const TPeModule& m_module;
    TFileRange m_table;
};

} // namespace

std::optional<TFileRange> FindNamedResource(const TPeModule& module, std::string_view type,
                                            std::string_view name) {
    std::optional<TFileRange> range = module.ResourceTable();
    if (!range)
        return std::nullopt;
    const TResourceTable table(module, *range);
    std::optional<std::uint32_t> types = table.SubdirectoryNamed(0, type);
    std::optional<std::uint32_t> languages =
        types ? table.SubdirectoryNamed(*types, name) : std::nullopt;
    std::optional<std::uint32_t> data =
        languages ? table.FindEntry(*languages, [](std::uint32_t) { return true; }) : std::nullopt;
    // A fourth level of directories is no resource.
    if (!data || (*data & kResHighBit))
        return std::nullopt;
    unsigned char entry[kResDataEntrySize];
    if (!table.Read(*data, entry, sizeof entry))
        return std::nullopt;
    // The data's place is an image address, not an offset into the table.
    return module.MapRva(Le32(entry), Le32(entry + 4));
}

std::optional<TByteBuffer> ReadNamedResource(const TPeModule& module, std::string_view type,
                                             std::string_view name) {
    std::optional<TFileRange> range = FindNamedResource(module, type, name);
    if (!range)
        return std::nullopt;
    // MapRva keeps the range inside the file, so its size is no larger than the file.
    TByteBuffer bytes(static_cast<std::size_t>(range->Size));
    if (!module.ReadAt(range->Offset, bytes.Data(), bytes.Size()))
        return std::nullopt;
    return bytes;
}

} // namespace trvx
