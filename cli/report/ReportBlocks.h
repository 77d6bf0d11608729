#pragma once

#include "format/HandOff.h"
#include "format/Writer.h"

#include <algorithm>
#include <cstddef>
#include <exception>
#include <iosfwd>
#include <string>
#include <string_view>
#include <thread>

namespace trvx {

// A report is built a piece at a time in one reused buffer and handed to
// out in chunks of 64 KB, so a report of a hundred thousand findings never
// sits whole in memory.
TTextSink ReportSink(std::ostream& out);

// Findings in a block, put into words by one thread. Their words lie all
// over the loaded file, so showing them waits on memory far more than
// writing does; two threads wait side by side.
inline constexpr std::size_t kReportBlock = 512;
inline constexpr std::size_t kOneBlock = ~std::size_t{0};
// kReportBlock with a second core, else kOneBlock.
std::size_t ReportBlockForThisMachine();

// A block the second thread has shown, on its way to the first, or what
// stopped that thread.
struct TShownBlock {
    std::string Text;
    std::exception_ptr Error;
};

// Shows findings [0, count) in order: show(i) appends finding i to
// chunks.Out(). With blocks of block findings and more than one block,
// every second block is shown on another thread by a show of its own,
// makeShow(text), which appends to text.
template <class TShow, class TMakeShow>
void ShowInBlocks(TTextSink& chunks, std::size_t count, std::size_t block, TShow& show,
                  const TMakeShow& makeShow) {
    auto end = [&](std::size_t b) { return std::min(count, (b + 1) * block); };
    if (block == kOneBlock || count <= block) {
        for (std::size_t i = 0; i < count; ++i) {
            show(i);
            chunks.FlushIfFull();
        }
        return;
    }
    const std::size_t blocks = (count + block - 1) / block;
    THandOff<TShownBlock, 2> queue;
    std::jthread worker([&] {
        std::string text;
        std::exception_ptr error;
        try {
            auto mine = makeShow(text);
            for (std::size_t b = 1; b < blocks; b += 2) {
                for (std::size_t i = b * block; i < end(b); ++i)
                    mine(i);
                TShownBlock* shown = queue.Free();
                if (!shown)
                    return;
                shown->Text.swap(text);
                text.clear();
                queue.Filled(shown);
            }
            return;
        } catch (...) {
            error = std::current_exception();
        }
        if (TShownBlock* shown = queue.Free()) {
            shown->Error = error;
            queue.Filled(shown);
        }
    });
    const decltype(queue)::TStopOnExit stop{queue};
    for (std::size_t b = 0; b < blocks; ++b) {
        if (b % 2 == 1) {
            TShownBlock* shown = queue.Next();
            if (shown->Error)
                std::rethrow_exception(shown->Error);
            chunks.Pass(shown->Text);
            queue.Done(shown);
            continue;
        }
        for (std::size_t i = b * block; i < end(b); ++i) {
            show(i);
            chunks.FlushIfFull();
        }
    }
}

} // namespace trvx
