#include "format/ReadAside.h"

#include "format/HandOff.h"
#include "tree/HugePages.h"

#include <cstdint>
#include <exception>
#include <string>
#include <thread>
#include <vector>

namespace trvx {

namespace {

// A run of entries with their strings copied, as a window's bytes go with it.
// A text the read made for its value is copied too: freed on the thread that
// made it, it costs less than a free on the other.
struct TBatch {
    enum class TKind : std::uint8_t { Open, Value, Close };
    struct TEntry {
        TKind kind;
        std::uint32_t keySize = 0;
        std::uint32_t textSize = 0;
    };
    // Reserved whole before the first fill, in huge pages: grown step by
    // step, they would be copied and faulted in again at each step.
    std::vector<TEntry, THugeListAllocator<TEntry>> entries;
    // Each entry's key, then its text; a string, as its appends copy whole.
    std::basic_string<char, std::char_traits<char>, THugeListAllocator<char>> bytes;
    std::exception_ptr error;
    bool last = false;

    void Clear() {
        entries.clear();
        bytes.clear();
        error = nullptr;
        last = false;
        entries.reserve(kEntries);
        // Full from kBytes on: only a text that large outgrows it. One byte
        // is kept for the terminating NUL.
        bytes.reserve(kHugePage - 1);
    }
    void Append(std::string_view s) { bytes.append(s); }
    bool Full() const { return bytes.size() >= kBytes || entries.size() >= kEntries; }

    static constexpr std::size_t kBytes = std::size_t{1} << 20;
    static constexpr std::size_t kEntries = std::size_t{1} << 15;
};

// Thrown through read when this side has stopped taking entries.
struct TStopped {};

// A few batches: the reader runs ahead by that much, in memory reused.
using TBatchQueue = THandOff<TBatch, 3>;

class TBatchingSink final : public TLanguageSink {
public:
    explicit TBatchingSink(TBatchQueue& queue) : m_queue(queue), m_batch(Take(queue)) {}

    void OpenNode(std::string_view name) override {
        m_batch->Append(name);
        Add({TBatch::TKind::Open, Size(name)});
    }
    void Value(std::string_view ident, TStr text) override {
        m_batch->Append(ident);
        m_batch->Append(text.View());
        Add({TBatch::TKind::Value, Size(ident), Size(text.View())});
    }
    void CloseNode() override { Add({TBatch::TKind::Close}); }

    // The last batch, with what read threw if it did.
    void Finish(std::exception_ptr error) {
        m_batch->error = std::move(error);
        m_batch->last = true;
        m_queue.Filled(m_batch);
    }

private:
    static std::uint32_t Size(std::string_view s) { return static_cast<std::uint32_t>(s.size()); }
    void Add(const TBatch::TEntry& entry) {
        m_batch->entries.push_back(entry);
        if (m_batch->Full()) {
            m_queue.Filled(m_batch);
            m_batch = Take(m_queue);
        }
    }
    static TBatch* Take(TBatchQueue& queue) {
        TBatch* batch = queue.Free();
        if (!batch)
            throw TStopped();
        batch->Clear();
        return batch;
    }

    TBatchQueue& m_queue;
    TBatch* m_batch;
};

// Hands a batch's entries on; whether more batches follow.
bool HandOn(TBatch& batch, TLanguageSink& sink) {
    const std::string_view bytes(batch.bytes.data(), batch.bytes.size());
    std::size_t at = 0;
    const auto take = [&](std::uint32_t size) {
        const std::string_view s = bytes.substr(at, size);
        at += size;
        return s;
    };
    for (const TBatch::TEntry& e : batch.entries) {
        switch (e.kind) {
        case TBatch::TKind::Open:
            sink.OpenNode(take(e.keySize));
            break;
        case TBatch::TKind::Value: {
            const std::string_view ident = take(e.keySize);
            sink.Value(ident, TStr::Borrow(take(e.textSize)));
            break;
        }
        case TBatch::TKind::Close:
            sink.CloseNode();
            break;
        }
    }
    if (batch.error)
        std::rethrow_exception(batch.error);
    return !batch.last;
}

} // namespace

void ReadAside(const std::function<void(TLanguageSink&)>& read, TLanguageSink& sink) {
    TBatchQueue queue;
    std::jthread reader([&] {
        try {
            TBatchingSink batching(queue);
            try {
                read(batching);
                batching.Finish(nullptr);
            } catch (const TStopped&) {
                throw;
            } catch (...) {
                batching.Finish(std::current_exception());
            }
        } catch (const TStopped&) {
        }
    });
    // However this side ends, the reader is stopped before it is joined.
    const TBatchQueue::TStopOnExit stop{queue};
    for (;;) {
        TBatch* batch = queue.Next();
        const bool more = HandOn(*batch, sink);
        queue.Done(batch);
        if (!more)
            break;
    }
}

} // namespace trvx
