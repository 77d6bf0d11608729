#include "format/Reader.h"

#include "encoding/ByteScan.h"
#include "format/Quoting.h"
#include "tree/Errors.h"

#include <algorithm>
#include <iterator>
#include <string>
#include <thread>
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
    // The reader of a whole text, or of the text from a split on: then
    // node is null and the nodes the text closes below its start are kept
    // for the reader of the text before it.
    TReader(TTarvinItem* root, std::pmr::memory_resource* resource, std::string_view text,
            TReadLosses* losses, std::vector<TValueSpan>* spans)
        : m_begin(text.data()), m_end(text.data() + text.size()), m_losses(losses), m_spans(spans),
          m_resource(resource), m_tail(root == nullptr) {
        Push(root);
    }
    // The reader of a whole text into a sink: no tree is built.
    TReader(TLanguageSink& sink, std::string_view text, TReadLosses* losses)
        : m_begin(text.data()), m_end(text.data() + text.size()), m_losses(losses),
          m_spans(nullptr), m_resource(nullptr), m_tail(false), m_sink(&sink) {
        Push(nullptr);
    }
    // The same, the text handed over in windows.
    TReader(TLanguageSink& sink, TTextWindows& windows, TReadLosses* losses)
        : TReader(sink, windows.Window(), losses) {
        m_windows = &windows;
        m_lastWindow = false;
        m_offset = windows.WindowOffset();
    }
    TReader(const TReader&) = delete;
    TReader& operator=(const TReader&) = delete;

    // Whatever ends the read, every open node keeps what was read into it.
    void Run() {
        Guarded([&] { Parse(m_begin); }, true);
    }

    // Reads up to split. False when no construct ends there (blanks aside):
    // the read went on to the end instead.
    bool RunUntil(const char* split) {
        m_splitFrom = split;
        while (m_splitFrom > m_begin && IsBlank(m_splitFrom[-1]))
            --m_splitFrom;
        m_split = split;
        bool stopped = false;
        Guarded([&] { stopped = Parse(m_begin); }, false);
        if (!stopped)
            CloseAll();
        return stopped;
    }

    // After RunUntil: the rest read here after all.
    void ResumeAt(const char* split) {
        m_splitFrom = nullptr;
        Guarded([&] { Parse(split); }, true);
    }

    void RunFrom(const char* split) { Parse(split); }

    // Takes over what tail read from the split on, as if read here. False
    // when that needs the one-thread read: tail closed the root, or holds
    // values of the root, whose losses would be out of order.
    bool Adopt(TReader& tail, TReadLosses& tailLosses) {
        const std::size_t closed = tail.m_closedBelow.size();
        if (closed >= m_depth)
            return false;
        for (std::size_t k = 0; k <= closed; ++k) {
            const Frame& from = k < closed ? tail.m_closedBelow[k] : tail.m_frames[0];
            if (k + 1 == m_depth && !from.values.empty())
                return false;
        }
        tail.CloseAll();
        for (std::size_t k = 0; k <= closed; ++k) {
            Frame& from = k < closed ? tail.m_closedBelow[k] : tail.m_frames[0];
            Frame& to = Top();
            std::move(from.values.begin(), from.values.end(), std::back_inserter(to.values));
            std::move(from.children.begin(), from.children.end(), std::back_inserter(to.children));
            if (k < closed)
                Pop();
        }
        if (m_losses)
            m_losses->insert(m_losses->end(), tailLosses.begin(), tailLosses.end());
        CloseAll();
        return true;
    }

private:
    template <class F> void Guarded(F&& read, bool closeAtEnd) {
        try {
            read();
        } catch (...) {
            CloseAll();
            throw;
        }
        if (closeAtEnd)
            CloseAll();
    }

    // A tail reader keeps its bottom frame: it stands for nodes it does not know.
    void CloseAll() {
        while (m_depth > (m_tail ? 1 : 0))
            Pop();
    }

    // True when it stopped at the split.
    bool Parse(const char* p) {
        const char* tokenStart = p;
        for (;;) {
            if (m_splitFrom != nullptr && p >= m_splitFrom) {
                if (p <= m_split)
                    return true;
                m_splitFrom = nullptr; // inside a construct: read on
            }
            p = FindAny<'{', '}', '='>(p, m_end);
            if (p == m_end) {
                if (Refill(tokenStart)) {
                    p = tokenStart;
                    continue;
                }
                p = m_end; // the window may have moved
                if (const std::string_view rest = Trim(Span(tokenStart, p)); !rest.empty())
                    Lost(TReadLossKind::TrailingText, rest.data());
                return false;
            }
            if (m_depth == 0) // the root itself was closed before
                throw ESurplusBrace(Position(m_rootClosedAt), Position(OffsetOf(p)));
            if (*p == '{') {
                std::string_view name = Trim(Span(tokenStart, p));
                if (m_sink) {
                    m_sink->OpenNode(name);
                    Push(nullptr);
                    tokenStart = ++p;
                    continue;
                }
                TItemPtr child = TTarvinItem::NewItemIn(m_resource);
                TTarvinItem* raw = child.get();
                Top().children.push_back({TStr::Borrow(name), std::move(child)});
                Push(raw);
                tokenStart = ++p;
            } else if (*p == '}') {
                Pop();
                m_rootClosedAt = OffsetOf(p);
                tokenStart = ++p;
            } else {
                const std::string_view ident = Trim(Span(tokenStart, p));
                const char* equals = p;
                const TValueEnd end = ReadValue(ident, p);
                if (end == TValueEnd::WindowEnd) {
                    // Read again whole, from its ident on.
                    Refill(tokenStart);
                    p = tokenStart;
                    continue;
                }
                if (end == TValueEnd::TextEnd) {
                    Lost(TReadLossKind::UnterminatedValue, ident.empty() ? equals : ident.data());
                    return false;
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

    std::size_t OffsetOf(const char* at) const {
        return m_offset + static_cast<std::size_t>(at - m_begin);
    }

    TTextPosition Position(std::size_t offset) const {
        return m_windows ? m_windows->PositionAt(offset) : PositionAt(Span(m_begin, m_end), offset);
    }

    // A windowed read finds each loss's line at once: the bytes before it go.
    void Lost(TReadLossKind kind, const char* at) {
        if (!m_losses)
            return;
        m_losses->push_back({kind, OffsetOf(at)});
        if (m_windows) {
            const TTextPosition position = Position(m_losses->back().Offset);
            m_losses->back().Line = position.Line;
            m_losses->back().Column = position.Column;
        }
    }

    // At the end of a window: the next one, starting at keep. False, with
    // the window left as it was, when the text ends there.
    bool Refill(const char*& keep) {
        if (m_lastWindow)
            return false;
        const std::size_t kept = static_cast<std::size_t>(m_end - keep);
        m_lastWindow = !m_windows->Advance(kept);
        const std::string_view window = m_windows->Window();
        m_begin = window.data();
        m_end = window.data() + window.size();
        m_offset = m_windows->WindowOffset();
        keep = m_begin;
        return !m_lastWindow;
    }

    // Whether p is the window's last byte while more may follow: what comes
    // after it decides.
    bool AtWindowEdge(const char* p) const { return !m_lastWindow && p + 1 >= m_end; }

    void Push(TTarvinItem* node) {
        if (m_depth == m_frames.size())
            m_frames.emplace_back();
        m_frames[m_depth++].node = node;
    }

    void Pop() {
        if (m_sink) {
            --m_depth;
            m_sink->CloseNode();
            return;
        }
        Frame& f = Top();
        if (f.node == nullptr) { // a tail reader's bottom: a node below the split
            m_closedBelow.push_back(std::move(f));
            f = Frame();
            return;
        }
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

    enum class TValueEnd { Read, TextEnd, WindowEnd };

    // p stands on the '='. TextEnd when the text ends inside the value,
    // which is then not stored; WindowEnd, with nothing handed on, when a
    // window does; otherwise p is left just after the value.
    TValueEnd ReadValue(std::string_view ident, const char*& p) {
        TCollector collected;
        bool inQuotes = false;
        bool doubled = false;
        int depth = 0;
        const char* equals = p;
        const char* valueStart = ++p;
        const char* const textStart = p;
        auto store = [&](const char* end, bool selfEnding) {
            if (m_depth == 1 && !m_tail)
                Lost(TReadLossKind::RootValue, ident.empty() ? equals : ident.data());
            if (m_sink) {
                m_sink->Value(ident, collected.Take());
                return;
            }
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
            if (AtWindowEdge(p))
                return TValueEnd::WindowEnd;
            if (p == m_end)
                return TValueEnd::TextEnd;
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
                        return TValueEnd::Read;
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
                    m_rootClosedAt = OffsetOf(p);
                    ++p;
                    return TValueEnd::Read;
                }
                ++p;
                if (depth == 1) {
                    store(p, true);
                    return TValueEnd::Read;
                }
                --depth;
                valueStart = p;
            } else if (depth == 0) { // a line break ends a one-line value
                collected.Add(Trim(Span(valueStart, p)), false);
                store(p, false);
                p = SkipLineBreak(p);
                return TValueEnd::Read;
            } else {
                p = SkipLineBreak(p);
                valueStart = p;
            }
        }
    }

    const char* m_begin;
    const char* m_end;
    TReadLosses* m_losses;
    std::size_t m_rootClosedAt = 0; // the last '}' that closed a node
    std::vector<TValueSpan>* m_spans;
    std::pmr::memory_resource* m_resource;
    const bool m_tail;
    const char* m_splitFrom = nullptr; // a head reader stops at a construct's end in
    const char* m_split = nullptr;     // [m_splitFrom, m_split], blanks before the split
    std::vector<Frame> m_frames;
    std::size_t m_depth = 0;
    std::vector<Frame> m_closedBelow; // a tail reader's: the innermost first
    TLanguageSink* m_sink = nullptr;
    TTextWindows* m_windows = nullptr;
    bool m_lastWindow = true; // m_end is the text's end
    std::size_t m_offset = 0; // of m_begin in the text
};

// Below this a second thread costs more than it saves.
constexpr std::size_t kSplitFrom = std::size_t{4} << 20;
// How far past the middle a split is looked for.
constexpr std::size_t kSplitSearch = std::size_t{1} << 20;

// A line start near the middle, after a node's head line ("name {"): the
// likeliest place for a construct to end. Null when none is near.
const char* FindSplit(std::string_view text) {
    const char* const end = text.data() + std::min(text.size(), text.size() / 2 + kSplitSearch);
    const char* line = text.data() + text.size() / 2;
    for (;;) {
        line = FindAny<'\n'>(line, end);
        if (line == end)
            return nullptr;
        const char* const next = ++line;
        const char* const lineEnd = FindAny<'\n'>(next, end);
        const std::string_view content = Trim(std::string_view(next, lineEnd - next));
        if (content.ends_with('{') && content.find_first_of("=\"") == std::string_view::npos)
            return lineEnd == end ? nullptr : lineEnd + 1;
    }
}

} // namespace

void ParseLanguageText(TTarvinItem& root, std::string_view text, TReadLosses* losses,
                       std::vector<TValueSpan>* spans, std::pmr::memory_resource* helper) {
    const char* split = nullptr;
    if (helper != nullptr && spans == nullptr && text.size() >= kSplitFrom &&
        std::thread::hardware_concurrency() > 1)
        split = FindSplit(text);
    if (split == nullptr)
        TReader(&root, root.Resource(), text, losses, spans).Run();
    else
        ParseLanguageTextSplit(root, text, losses, helper, split - text.data());
}

void ParseLanguageText(TLanguageSink& sink, std::string_view text, TReadLosses* losses) {
    TReader(sink, text, losses).Run();
}

void ParseLanguageText(TLanguageSink& sink, TTextWindows& text, TReadLosses* losses) {
    TReader(sink, text, losses).Run();
}

void ParseLanguageTextSplit(TTarvinItem& root, std::string_view text, TReadLosses* losses,
                            std::pmr::memory_resource* helper, std::size_t split) {
    // The tail's result is taken only when it is exactly what one thread
    // reading on would have read, else the head reads on itself, so errors
    // and losses stay the same at the same places.
    const char* const at = text.data() + std::min(split, text.size());
    TReader head(&root, root.Resource(), text, losses, nullptr);
    TReadLosses tailLosses;
    TReader tail(nullptr, helper, text, &tailLosses, nullptr);
    bool tailFailed = false;
    std::jthread worker([&] {
        try {
            tail.RunFrom(at);
        } catch (...) {
            tailFailed = true;
        }
    });
    if (!head.RunUntil(at))
        return;
    worker.join();
    if (tailFailed || !head.Adopt(tail, tailLosses))
        head.ResumeAt(at);
}

} // namespace trvx
