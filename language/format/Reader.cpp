#include "format/Reader.h"

#include "format/ByteScan.h"
#include "format/Quoting.h"
#include "tree/Errors.h"

#include <string>
#include <vector>

namespace trvx {

namespace {

// The strings a value collects: one untouched string stays a view into the
// text, anything else is joined into an owned copy.
class TCollector {
public:
    void Add(std::string_view s, bool unescape) {
        if (m_count == 0 && !unescape) {
            m_first = s;
            m_borrowed = true;
        } else {
            if (m_borrowed) {
                m_joined.assign(m_first);
                m_borrowed = false;
            }
            if (m_count > 0)
                m_joined += "\r\n";
            if (unescape)
                AppendUnescaped(m_joined, s);
            else
                m_joined += s;
        }
        ++m_count;
    }
    TStr Take() {
        if (m_count == 0)
            return TStr();
        return m_borrowed ? TStr::Borrow(m_first) : TStr(m_joined);
    }

private:
    int m_count = 0;
    bool m_borrowed = false;
    std::string_view m_first;
    std::string m_joined;
};

class TReader {
public:
    TReader(TTarvinItem& root, std::string_view text, TReadLosses* losses,
            std::vector<TValueSpan>* spans)
        : m_begin(text.data()), m_end(text.data() + text.size()), m_losses(losses), m_spans(spans) {
        Push(&root);
    }
    TReader(const TReader&) = delete;
    TReader& operator=(const TReader&) = delete;

    // Whatever ends the read, every open node keeps what was read into it.
    void Run() {
        try {
            Parse();
        } catch (...) {
            CloseAll();
            throw;
        }
        CloseAll();
    }

private:
    void CloseAll() {
        while (m_depth > 0)
            Pop();
    }

    void Parse() {
        const char* p = m_begin;
        const char* tokenStart = p;
        for (;;) {
            p = FindAny<'{', '}', '='>(p, m_end);
            if (p == m_end) {
                if (const std::string_view rest = Trim(Span(tokenStart, p)); !rest.empty())
                    Lost(TReadLossKind::TrailingText, rest.data());
                return;
            }
            if (m_depth == 0) // the root itself was closed before
                throw ESurplusBrace(PositionAt(Span(m_begin, m_end), m_rootClosedAt - m_begin),
                                    PositionAt(Span(m_begin, m_end), p - m_begin));
            if (*p == '{') {
                std::string_view name = Trim(Span(tokenStart, p));
                TItemPtr child = Top().node->NewItem();
                TTarvinItem* raw = child.get();
                Top().children.push_back({TStr::Borrow(name), std::move(child)});
                Push(raw);
                tokenStart = ++p;
            } else if (*p == '}') {
                Pop();
                m_rootClosedAt = p;
                tokenStart = ++p;
            } else {
                const std::string_view ident = Trim(Span(tokenStart, p));
                const char* equals = p;
                if (!ReadValue(ident, p)) {
                    Lost(TReadLossKind::UnterminatedValue, ident.empty() ? equals : ident.data());
                    return;
                }
                tokenStart = p;
            }
        }
    }

    // An open node with the entries read into it so far. They are handed
    // over when it closes, in one exact allocation per list.
    struct Frame {
        TTarvinItem* node = nullptr;
        std::vector<TTarvinItem::TChildEntry> children;
        std::vector<TTarvinItem::TValueEntryData> values;
    };

    Frame& Top() { return m_frames[m_depth - 1]; }

    void Lost(TReadLossKind kind, const char* at) {
        if (m_losses)
            m_losses->push_back({kind, static_cast<std::size_t>(at - m_begin)});
    }

    void Push(TTarvinItem* node) {
        if (m_depth == m_frames.size())
            m_frames.emplace_back();
        m_frames[m_depth++].node = node;
    }

    void Pop() {
        Frame& f = Top();
        f.node->AppendValues(f.values);
        f.node->AppendChildren(f.children);
        --m_depth;
    }

    static std::string_view Span(const char* from, const char* to) {
        return {from, static_cast<std::size_t>(to - from)};
    }

    const char* SkipLineBreak(const char* p) const {
        if (*p == '\r' && p + 1 < m_end && p[1] == '\n')
            return p + 2;
        return p + 1;
    }

    // p stands on the '='. Returns false when the text ends inside the value,
    // which is then not stored; otherwise p is left just after the value.
    bool ReadValue(std::string_view ident, const char*& p) {
        TCollector collected;
        bool inQuotes = false;
        bool doubled = false;
        int depth = 0;
        const char* equals = p;
        const char* valueStart = ++p;
        const char* const textStart = p;
        auto store = [&](const char* end, bool selfEnding) {
            if (m_depth == 1)
                Lost(TReadLossKind::RootValue, ident.empty() ? equals : ident.data());
            Frame& top = Top();
            // The blanks before a line break or brace are no part of the text.
            while (m_spans && !selfEnding && end > textStart && IsBlank(end[-1]))
                --end;
            if (m_spans)
                m_spans->push_back({top.node,
                                    top.node->ValueCount() + static_cast<int>(top.values.size()),
                                    static_cast<std::size_t>(textStart - m_begin),
                                    static_cast<std::size_t>(end - m_begin), selfEnding});
            top.values.push_back({TStr::Borrow(ident), collected.Take()});
        };

        for (;;) {
            p = inQuotes ? FindAny<'"', '\r', '\n'>(p, m_end)
                         : FindAny<'"', '{', '}', '\r', '\n'>(p, m_end);
            if (p == m_end)
                return false;
            const char c = *p;
            if (c == '"') {
                if (!inQuotes) {
                    inQuotes = true;
                    doubled = false;
                    valueStart = ++p;
                } else if (p + 1 < m_end && p[1] == '"') {
                    doubled = true;
                    p += 2;
                } else {
                    collected.Add(Span(valueStart, p), doubled);
                    ++p;
                    if (depth == 0) {
                        store(p, true);
                        return true;
                    }
                    inQuotes = false;
                    valueStart = p;
                }
            } else if (c == '{') {
                ++depth;
                valueStart = ++p;
            } else if (c == '}') {
                if (depth == 0) {
                    // Ends the value and closes the node that holds it.
                    collected.Add(Trim(Span(valueStart, p)), false);
                    store(p, false);
                    Pop();
                    m_rootClosedAt = p;
                    ++p;
                    return true;
                }
                ++p;
                if (depth == 1) {
                    store(p, true);
                    return true;
                }
                --depth;
                valueStart = p;
            } else if (depth == 0) { // a line break ends a one-line value
                collected.Add(Trim(Span(valueStart, p)), false);
                store(p, false);
                p = SkipLineBreak(p);
                return true;
            } else {
                p = SkipLineBreak(p);
                valueStart = p;
            }
        }
    }

    const char* m_begin;
    const char* m_end;
    TReadLosses* m_losses;
    const char* m_rootClosedAt = nullptr; // the last '}' that closed a node
    std::vector<TValueSpan>* m_spans;
    std::vector<Frame> m_frames;
    std::size_t m_depth = 0;
};

} // namespace

void ParseLanguageText(TTarvinItem& root, std::string_view text, TReadLosses* losses,
                       std::vector<TValueSpan>* spans) {
    TReader(root, text, losses, spans).Run();
}

} // namespace trvx
