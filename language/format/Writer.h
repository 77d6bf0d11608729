#pragma once

#include "tree/TarvinItem.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace trvx {

// Collects the written text and hands it on in large chunks, so a huge tree
// is written without holding its whole text in memory.
class TTextSink {
public:
    using Flush = std::function<void(std::string_view)>;
    explicit TTextSink(Flush flush, std::size_t chunk = std::size_t{1} << 20);
    std::string& Out() { return m_out; }
    std::size_t Chunk() const { return m_chunk; }
    void FlushIfFull() {
        if (m_out.size() >= m_chunk)
            FlushNow();
    }
    void FlushNow();
    // Hands on what is collected, then text: a block written elsewhere
    // goes out in its place without a copy.
    void Pass(std::string_view text);

private:
    Flush m_flush;
    std::size_t m_chunk;
    std::string m_out;
};

// What a write leaves out at one node: all of it, with all below it, or
// the values at some positions (ascending, distinct).
struct TSkips {
    bool Whole = false;
    std::span<const int> Values;
};

// Entries a write leaves out. Asked once per node the write reaches.
class TWriteFilter {
public:
    virtual ~TWriteFilter() = default;
    virtual TSkips Skips(const TTarvinItem& node) const = 0;
};

// Appends the lines of every child of item, each child's lines at indent
// spaces, its values and children deeper, leaving out what skip names (if
// given). Walks without recursion.
// One value line (or block of lines, for a text with line breaks), its
// ident indented by indent + 2.
void WriteValue(TTextSink& sink, int indent, std::string_view ident, std::string_view text);
// Values [from, to) of a node, less those at the skipped positions
// (ascending), each as WriteValue writes it.
void WriteValues(TTextSink& sink, int indent, std::span<const TTarvinItem::TValueEntryData> values,
                 std::size_t from, std::size_t to, std::span<const int> skipped);
// The line that opens a node, and the one that closes it.
void WriteNodeOpen(std::string& out, int indent, std::string_view name);
void WriteNodeClose(std::string& out, int indent);
void WriteItem(const TTarvinItem& item, TTextSink& out, int indent,
               const TWriteFilter* skip = nullptr);
// A lower bound of what WriteTree writes, found without writing: each line
// is indented by its depth, so a deep tree writes far more than it holds.
std::uint64_t WrittenSizeAtLeast(const TTarvinItem& root);
// The whole tree; the root's own values are not written. A large tree is
// written on two threads (WriteAside), every byte as one would.
void WriteTree(const TTarvinItem& root, TTextSink& out, const TWriteFilter* skip = nullptr);

} // namespace trvx
