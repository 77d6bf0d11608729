#pragma once

// What the text, JSON and JUnit reports share: the tallies and a finding
// put into words.

#include "check/Findings.h"

#include <array>
#include <cstddef>
#include <string>

namespace trvx::report {

constexpr std::size_t kShownChars = 70;

struct TKindTally {
    std::array<int, 3> bySeverity{};
    int Total() const { return bySeverity[0] + bySeverity[1] + bySeverity[2]; }
};

using TTally = std::array<TKindTally, kCheckKindCount>;

TTally TallyByKind(const TFindings& findings);
int CountOf(const TTally& tally, TSeverity severity);

// A finding in words, made in buffers kept from one finding to the next.
// One for each thread that shows findings.
struct TShown {
    std::string Path, Ident, Text, Message;
    TFindings::TPathMemo Memo;
    // Finding i, with the memory of those a few ahead asked for.
    const TShown& Of(const TFindings& findings, std::size_t i);
};

// Findings come grouped by kind, in the order of the kinds: a finding
// starts its kind's part of a report when the one before is of another.
inline bool StartsKind(const TFindings& findings, std::size_t i) {
    return i == 0 || findings[i - 1].Kind != findings[i].Kind;
}

} // namespace trvx::report
