#include "format/WriteAside.h"

#include "format/HandOff.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <span>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace trvx {

namespace {

// Below this many ranges the thread costs more than it saves.
constexpr std::uint64_t kRangesWorthAThread = 4;

// What the filter leaves out of a node, by the node's place among the nodes
// a write reaches. Asked before the write, so that neither thread calls the
// filter while the other may.
struct TSkipAt {
    std::uint64_t node;
    TSkips skips;
};

std::vector<TSkipAt> AskFilter(const TTarvinItem& root, const TWriteFilter& filter) {
    std::vector<TSkipAt> said;
    std::uint64_t reached = 0;
    // Children pushed last first come off in the order the write reaches them.
    std::vector<const TTarvinItem*> stack;
    const auto pushChildren = [&](const TTarvinItem& node) {
        const auto children = node.Children();
        for (auto c = children.rbegin(); c != children.rend(); ++c)
            stack.push_back(c->Item.get());
    };
    pushChildren(root);
    while (!stack.empty()) {
        const TTarvinItem& node = *stack.back();
        stack.pop_back();
        const TSkips skips = filter.Skips(node);
        if (skips.Whole || !skips.Values.empty())
            said.push_back({reached, skips});
        ++reached;
        if (!skips.Whole)
            pushChildren(node);
    }
    return said;
}

// The filter's answers again, node by node, in the order they were given.
class TSaidSkips {
public:
    explicit TSaidSkips(std::span<const TSkipAt> said) : m_said(said) {}
    TSkips Next() {
        const std::uint64_t node = m_reached++;
        if (m_next < m_said.size() && m_said[m_next].node == node)
            return m_said[m_next++].skips;
        return {};
    }

private:
    std::span<const TSkipAt> m_said;
    std::size_t m_next = 0;
    std::uint64_t m_reached = 0;
};

// Tells side of each range the walk has come to: out of line, so that the
// test for it, made for every entry, stays small.
template <class Side>
[[gnu::noinline]] bool EnterRanges(Side& side, TTextSink& sink, std::uint64_t entries,
                                   std::uint64_t rangeEntries, std::uint64_t& range,
                                   std::uint64_t& rangeEnd) {
    bool mine = false;
    while (entries >= rangeEnd) {
        rangeEnd += rangeEntries;
        mine = side.Enter(++range, sink);
    }
    return mine;
}

// One thread's walk over the whole tree, as WriteItem walks it: it writes
// the ranges its side takes and only counts its way through the others.
// side.Enter(range, sink) is told of every range the walk comes to and says
// whether this side writes it; side.Finish(range, sink) of the last.
template <class Side>
void WalkRanges(const TTarvinItem& root, TTextSink& sink, std::span<const TSkipAt> said,
                std::uint64_t rangeEntries, Side& side) {
    struct Frame {
        const TTarvinItem* node;
        std::size_t next;
        int indent;
    };
    std::vector<Frame> stack{{&root, 0, 0}};
    TSaidSkips skips(said);
    std::string& out = sink.Out();
    std::uint64_t entries = 0; // begun so far
    std::uint64_t range = 0;
    std::uint64_t rangeEnd = rangeEntries; // no division per entry: it showed
    bool mine = side.Enter(range, sink);
    const auto reach = [&] {
        if (entries >= rangeEnd) [[unlikely]]
            mine = EnterRanges(side, sink, entries, rangeEntries, range, rangeEnd);
        return mine;
    };
    while (!stack.empty()) {
        Frame& top = stack.back();
        const auto children = top.node->Children();
        if (top.next == children.size()) {
            const int closing = top.indent - 2;
            stack.pop_back();
            if (!stack.empty() && reach()) {
                WriteNodeClose(out, closing);
                sink.FlushIfFull();
            }
            continue;
        }
        const auto& child = children[top.next++];
        const TSkips skip = skips.Next();
        if (skip.Whole)
            continue;
        const int indent = top.indent;
        if (reach())
            WriteNodeOpen(out, indent, child.Name.View());
        ++entries;
        // A node's values may run across ranges: they go in runs, each
        // within one range.
        const auto values = child.Item->Values();
        for (std::size_t v = 0; v < values.size();) {
            const bool write = reach();
            const std::uint64_t room = rangeEnd - entries;
            const std::size_t end =
                static_cast<std::size_t>(std::min<std::uint64_t>(values.size(), v + room));
            if (write)
                WriteValues(sink, indent, values, v, end, skip.Values);
            entries += end - v;
            v = end;
        }
        stack.push_back({child.Item.get(), 0, indent + 2});
        sink.FlushIfFull();
    }
    reach();
    side.Finish(range, sink);
}

// A piece of the other thread's text; the last piece of a range is marked.
struct TBlock {
    std::string text;
    bool rangeEnd = false;
    std::exception_ptr error;
};

// Small blocks: fresh pages cost more to fault in here than the hand-offs
// of more blocks do.
constexpr std::size_t kBlock = std::size_t{128} << 10;

// A few blocks: the other thread runs ahead by that much, in memory reused.
using TBlockQueue = THandOff<TBlock, 3>;

// Thrown through the walk when this thread is no longer waited for.
struct TStopped {};

// The other thread's side: it takes the next range nobody has taken each
// time it has written one, and its text goes out in blocks.
class TAsideSide {
public:
    TAsideSide(TBlockQueue& queue, std::atomic<std::uint64_t>& taken)
        : m_queue(queue), m_taken(taken), m_range(taken.fetch_add(1)) {}

    // Swaps text into a free block, so the strings go round without a copy.
    void HandOver(std::string& text, bool rangeEnd) {
        TBlock& block = Take();
        block.text.clear();
        block.text.reserve(text.capacity());
        std::swap(block.text, text);
        block.rangeEnd = rangeEnd;
        m_queue.Filled(&block);
    }
    bool Enter(std::uint64_t range, TTextSink& sink) {
        if (range == m_range + 1) {
            HandOver(sink.Out(), true);
            m_range = m_taken.fetch_add(1);
        }
        return range == m_range;
    }
    void Finish(std::uint64_t range, TTextSink& sink) {
        if (range == m_range)
            HandOver(sink.Out(), true);
    }
    void Fail(std::exception_ptr error) {
        TBlock& block = Take();
        block.error = std::move(error);
        m_queue.Filled(&block);
    }

private:
    TBlock& Take() {
        TBlock* block = m_queue.Free();
        if (!block)
            throw TStopped();
        return *block;
    }

    TBlockQueue& m_queue;
    std::atomic<std::uint64_t>& m_taken;
    std::uint64_t m_range; // the one it writes or walks towards
};

// This thread's side: it writes a range itself only when nothing before it
// is still to come and nobody has taken it, so its flushes go straight out;
// a range the other thread took is passed on here as its blocks come. The
// thread that also does the output writes fewer ranges, as it should.
class TMainSide {
public:
    TMainSide(TBlockQueue& queue, std::atomic<std::uint64_t>& taken)
        : m_queue(queue), m_taken(taken) {}

    bool Enter(std::uint64_t range, TTextSink& sink) {
        // Every range before this one is taken, so the count is at least range.
        std::uint64_t next = range;
        if (m_taken.compare_exchange_strong(next, range + 1))
            return true;
        for (bool end = false; !end;) {
            TBlock* block = m_queue.Next();
            if (block->error)
                std::rethrow_exception(block->error);
            sink.Pass(block->text);
            end = block->rangeEnd;
            m_queue.Done(block);
        }
        return false;
    }
    void Finish(std::uint64_t, TTextSink&) {}

private:
    TBlockQueue& m_queue;
    std::atomic<std::uint64_t>& m_taken;
};

} // namespace

bool WorthWritingAside(const TTarvinItem& root, std::uint64_t rangeEntries) {
    // With two processors the other one was seldom free: fmt -o of 100 MB
    // took 9% longer and 13% more CPU on two threads than on one.
    static const bool spare = std::thread::hardware_concurrency() > 2;
    if (!spare)
        return false;
    const std::uint64_t enough = kRangesWorthAThread * rangeEntries;
    std::uint64_t entries = 0;
    std::vector<const TTarvinItem*> stack{&root};
    while (!stack.empty()) {
        const TTarvinItem& node = *stack.back();
        stack.pop_back();
        for (const auto& child : node.Children()) {
            entries += 1 + child.Item->Values().size();
            if (entries >= enough)
                return true;
            stack.push_back(child.Item.get());
        }
    }
    return false;
}

void WriteAside(const TTarvinItem& root, TTextSink& sink, const TWriteFilter* skip,
                std::uint64_t rangeEntries) {
    rangeEntries = std::max<std::uint64_t>(rangeEntries, 1);
    const std::vector<TSkipAt> said = skip ? AskFilter(root, *skip) : std::vector<TSkipAt>{};
    TBlockQueue queue;
    std::atomic<std::uint64_t> taken{0}; // ranges either side has taken
    std::jthread aside([&] {
        TAsideSide side(queue, taken);
        try {
            TTextSink blocks([&](std::string_view) { side.HandOver(blocks.Out(), false); },
                             std::min(sink.Chunk(), kBlock));
            WalkRanges(root, blocks, said, rangeEntries, side);
        } catch (const TStopped&) {
        } catch (...) {
            try {
                side.Fail(std::current_exception());
            } catch (const TStopped&) {
            }
        }
    });
    // However this side ends, the other thread is stopped before it is joined.
    const TBlockQueue::TStopOnExit stop{queue};
    TMainSide side(queue, taken);
    WalkRanges(root, sink, said, rangeEntries, side);
}

} // namespace trvx
