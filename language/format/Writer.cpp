#include "format/Writer.h"

#include "encoding/ByteScan.h"
#include "format/Quoting.h"
#include "format/WriteAside.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace trvx {

namespace {

bool IsLineBreak(char c) {
    return c == '\r' || c == '\n';
}

// A text may be far larger than a chunk: it goes out in slices, so the
// block never grows to the size of one huge value.
constexpr std::size_t kSlice = std::size_t{1} << 20;

void AppendText(TTextSink& sink, std::string_view text, bool escape) {
    std::string& out = sink.Out();
    const auto append = [&](std::string_view piece) {
        if (escape)
            AppendEscaped(out, piece);
        else
            out += piece;
    };
    while (text.size() > kSlice) {
        append(text.substr(0, kSlice));
        text.remove_prefix(kSlice);
        sink.FlushIfFull();
    }
    append(text);
}

void AppendQuoted(TTextSink& sink, std::string_view line) {
    sink.Out() += '"';
    AppendText(sink, line, true);
    sink.Out() += '"';
}

// Most lines are "ident = text" with a bare text: they go in with one
// growth of the block, where appending piece by piece showed.
void AppendBareLine(std::string& out, std::size_t spaces, std::string_view ident,
                    std::string_view text) {
    const std::size_t at = out.size();
    // Grown with blanks, which are the indent already.
    out.append(spaces + ident.size() + 3 + text.size() + 2, ' ');
    char* p = out.data() + at + spaces;
    std::memcpy(p, ident.data(), ident.size());
    p += ident.size();
    std::memcpy(p, " = ", 3);
    p += 3;
    std::memcpy(p, text.data(), text.size());
    p += text.size();
    std::memcpy(p, "\r\n", 2);
}

} // namespace

void WriteValue(TTextSink& sink, int indent, std::string_view ident, std::string_view text) {
    std::string& out = sink.Out();
    const std::size_t start = out.size();
    // Line breaks, quotes and braces decide the form.
    const char* const end = text.data() + text.size();
    const char* notable = FindAny<'\r', '\n', '"', '{', '}'>(text.data(), end);
    const bool special = notable != end && !IsLineBreak(*notable);
    if (!text.empty() && notable == end && !IsBlank(text.front()) && !IsBlank(text.back()) &&
        text.size() <= kSlice) {
        AppendBareLine(out, static_cast<std::size_t>(indent) + 2, ident, text);
        return;
    }
    out.append(static_cast<std::size_t>(indent) + 2, ' ');
    out += ident;
    if (text.empty()) {
        out += " =\r\n";
        return;
    }
    if (special)
        notable = FindAny<'\r', '\n'>(notable + 1, end);
    if (notable == end) {
        out += " = ";
        if (special || IsBlank(text.front()) || IsBlank(text.back()))
            AppendQuoted(sink, text);
        else
            AppendText(sink, text, false);
        out += "\r\n";
        return;
    }
    out += " = {";
    const std::size_t pad = out.size() - start;
    // Every line break ends a line, and one more ends the last line.
    std::size_t lineStart = 0;
    for (bool first = true;; first = false) {
        const auto i = static_cast<std::size_t>(FindAny<'\r', '\n'>(text.data() + lineStart, end) -
                                                text.data());
        if (!first)
            out.append(pad, ' ');
        AppendQuoted(sink, text.substr(lineStart, i - lineStart));
        out += "\r\n";
        sink.FlushIfFull();
        if (i == text.size())
            break;
        lineStart = i + 1;
        if (text[i] == '\r' && lineStart < text.size() && text[lineStart] == '\n')
            ++lineStart;
    }
    out.append(static_cast<std::size_t>(indent) + 2, ' ');
    out += "}\r\n";
}

void WriteNodeOpen(std::string& out, int indent, std::string_view name) {
    out.append(static_cast<std::size_t>(indent), ' ');
    out += name;
    out += " {\r\n";
}

void WriteNodeClose(std::string& out, int indent) {
    out.append(static_cast<std::size_t>(indent), ' ');
    out += "}\r\n";
}

// One node may hold a large share of the file (STRINGS): it flushes within
// the values too, or the block grows to the node's whole text.
void WriteValues(TTextSink& sink, int indent, std::span<const TTarvinItem::TValueEntryData> values,
                 std::size_t from, std::size_t to, std::span<const int> skipped) {
    if (skipped.empty()) {
        for (std::size_t i = from; i < to; ++i) {
            WriteValue(sink, indent, values[i].Ident.View(), values[i].Text.View());
            sink.FlushIfFull();
        }
        return;
    }
    auto next = std::lower_bound(skipped.begin(), skipped.end(), static_cast<int>(from));
    for (std::size_t i = from; i < to; ++i) {
        if (next != skipped.end() && *next == static_cast<int>(i)) {
            ++next;
            continue;
        }
        WriteValue(sink, indent, values[i].Ident.View(), values[i].Text.View());
        sink.FlushIfFull();
    }
}

namespace {

// Filtered: whether skip is given. Most writes skip nothing, and their walk
// is built without the tests.
void WriteNodeHead(TTextSink& sink, int indent, std::string_view name, const TTarvinItem& node,
                   std::span<const int> skipped = {}) {
    WriteNodeOpen(sink.Out(), indent, name);
    const auto values = node.Values();
    WriteValues(sink, indent, values, 0, values.size(), skipped);
}

template <bool Filtered>
void WalkItem(const TTarvinItem& item, TTextSink& sink, int indent, const TWriteFilter* skip) {
    struct Frame {
        const TTarvinItem* node;
        std::size_t next;
        int indent;
    };
    std::vector<Frame> stack{{&item, 0, indent}};
    std::string& out = sink.Out();
    while (!stack.empty()) {
        Frame& top = stack.back();
        const auto& children = top.node->Children();
        if (top.next == children.size()) {
            const int closing = top.indent - 2;
            stack.pop_back();
            if (!stack.empty()) {
                WriteNodeClose(out, closing);
                // A deep tree closes in one long run of lines.
                sink.FlushIfFull();
            }
            continue;
        }
        const auto& child = children[top.next++];
        if constexpr (Filtered) {
            const TSkips skips = skip->Skips(*child.Item);
            if (skips.Whole)
                continue;
            WriteNodeHead(sink, top.indent, child.Name.View(), *child.Item, skips.Values);
        } else {
            WriteNodeHead(sink, top.indent, child.Name.View(), *child.Item);
        }
        stack.push_back({child.Item.get(), 0, top.indent + 2});
        sink.FlushIfFull();
    }
}

} // namespace

TTextSink::TTextSink(Flush flush, std::size_t chunk) : m_flush(std::move(flush)), m_chunk(chunk) {
    // Reserved whole: growing the block copied it and faulted fresh pages at
    // every doubling. A small tree touches only the pages it writes.
    m_out.reserve(chunk);
}

void TTextSink::FlushNow() {
    if (!m_out.empty()) {
        m_flush(m_out);
        m_out.clear();
    }
}

void TTextSink::Pass(std::string_view text) {
    FlushNow();
    if (!text.empty())
        m_flush(text);
}

std::uint64_t WrittenSizeAtLeast(const TTarvinItem& root) {
    struct Frame {
        const TTarvinItem* node;
        std::uint64_t indent;
    };
    std::uint64_t size = 0;
    std::vector<Frame> stack{{&root, 0}};
    while (!stack.empty()) {
        const Frame top = stack.back();
        stack.pop_back();
        for (const auto& child : top.node->Children()) {
            // Head "name {" and tail "}", each indented and ended by CR LF.
            size += 2 * top.indent + child.Name.View().size() + 7;
            // "ident =" and the text, indented two more: quotes and blocks only add.
            for (const auto& v : child.Item->Values())
                size += top.indent + 2 + v.Ident.View().size() + 4 + v.Text.View().size();
            stack.push_back({child.Item.get(), top.indent + 2});
        }
    }
    return size;
}

void WriteItem(const TTarvinItem& item, TTextSink& sink, int indent, const TWriteFilter* skip) {
    if (skip != nullptr)
        WalkItem<true>(item, sink, indent, skip);
    else
        WalkItem<false>(item, sink, indent, nullptr);
}

void WriteTree(const TTarvinItem& root, TTextSink& out, const TWriteFilter* skip) {
    if (WorthWritingAside(root))
        WriteAside(root, out, skip);
    else
        WriteItem(root, out, 0, skip);
    out.FlushNow();
}

} // namespace trvx
