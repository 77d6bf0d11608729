#include "cli/report/CheckReportParts.h"

namespace trvx::report {

namespace {
// Findings apart of one prefetch stage and the next.
constexpr std::size_t kPrefetchDistance = 4;
} // namespace

const TShown& TShown::Of(const TFindings& findings, std::size_t i) {
    for (int stage = 0; stage < TFindings::kPrefetchStages; ++stage) {
        const std::size_t ahead = i + kPrefetchDistance * (TFindings::kPrefetchStages - stage);
        if (ahead < findings.size())
            findings.Prefetch(findings[ahead], stage);
    }
    const TFinding& f = findings[i];
    for (std::string* s : {&Path, &Ident, &Text, &Message})
        s->clear();
    findings.AppendPath(Path, f, Memo);
    findings.AppendIdent(Ident, f);
    findings.AppendText(Text, f);
    findings.AppendMessage(Message, f);
    return *this;
}

TTally TallyByKind(const TFindings& findings) {
    TTally tally{};
    for (const TFinding& f : findings)
        ++tally[static_cast<int>(f.Kind)].bySeverity[static_cast<int>(f.Severity)];
    return tally;
}

int CountOf(const TTally& tally, TSeverity severity) {
    int count = 0;
    for (const TKindTally& t : tally)
        count += t.bySeverity[static_cast<int>(severity)];
    return count;
}

} // namespace trvx::report
