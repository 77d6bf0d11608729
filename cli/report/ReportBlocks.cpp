#include "cli/report/ReportBlocks.h"

#include <ostream>

namespace trvx {

TTextSink ReportSink(std::ostream& out) {
    return TTextSink(
        [&out](std::string_view text) {
            out.write(text.data(), static_cast<std::streamsize>(text.size()));
        },
        std::size_t{64} << 10);
}

std::size_t ReportBlockForThisMachine() {
    return std::thread::hardware_concurrency() > 1 ? kReportBlock : kOneBlock;
}

} // namespace trvx
