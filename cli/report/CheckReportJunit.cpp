#include "cli/report/CheckReport.h"
#include "cli/report/CheckReportParts.h"
#include "encoding/TextEscape.h"

#include <ostream>

namespace trvx {

using namespace report;

namespace {

std::string Where(const TShown& f) {
    return f.Path.empty() ? "(root)" : ValidUtf8(f.Path);
}

std::string ValueLine(const TFinding& finding, const TShown& f) {
    if (finding.ValueIndex < 0)
        return {};
    return DisplayText(f.Ident, kShownChars) + " = \"" + DisplayText(f.Text, kShownChars) + "\"";
}

// A JUnit test suite's opening, with its one passing case when its check
// found nothing.
void AppendSuiteStart(std::string& out, int k, const TKindTally& t) {
    const std::string name(CheckKindName(static_cast<TCheckKind>(k)));
    out += "  <testsuite name=\"" + name + "\" tests=\"" +
           std::to_string(t.Total() ? t.Total() : 1) + "\" failures=\"" +
           std::to_string(t.bySeverity[0]) + "\" errors=\"0\" skipped=\"0\">\n";
    if (t.Total() == 0)
        out += "    <testcase classname=\"trvx.check." + name + "\" name=\"no findings\"/>\n";
}

// Closes the suite of kind from (none when -1), writes the suites of the
// kinds between, which found nothing, and opens the suite of kind to (none
// past the last kind).
void AppendSuitesBetween(std::string& out, int from, int to, const TTally& tally) {
    if (from >= 0)
        out += "  </testsuite>\n";
    for (int k = from + 1; k < to; ++k) {
        AppendSuiteStart(out, k, tally[k]);
        out += "  </testsuite>\n";
    }
    if (to < kCheckKindCount)
        AppendSuiteStart(out, to, tally[to]);
}

void AppendJunitCase(std::string& out, const TFinding& finding, const TShown& f) {
    const std::string name(CheckKindName(finding.Kind));
    out += "    <testcase classname=\"trvx.check." + name + "\" name=\"";
    AppendXmlText(out, Where(f) + (f.Ident.empty() ? "" : " " + f.Ident), true);
    out += "\">\n";
    const std::string value = ValueLine(finding, f);
    if (finding.Severity == TSeverity::Error) {
        out += "      <failure type=\"error\" message=\"";
        AppendXmlText(out, f.Message, true);
        out += "\">";
        if (finding.ValueIndex >= 0)
            AppendXmlText(out, f.Ident + " = " + f.Text, false);
        out += "</failure>\n";
    } else {
        out += "      <system-out>" + std::string(SeverityName(finding.Severity)) + ": ";
        AppendXmlText(out, f.Message + (value.empty() ? "" : "\n" + value), false);
        out += "</system-out>\n";
    }
    out += "    </testcase>\n";
}

} // namespace

void WriteCheckReportJunit(std::ostream& stream, const TFindings& findings,
                           const TCheckSource& source, std::size_t block) {
    const TTally tally = TallyByKind(findings);
    TTextSink chunks = ReportSink(stream);
    std::string& out = chunks.Out();
    out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<testsuites name=\"trvx check ";
    AppendXmlText(out, source.File, true);
    int cases = 0;
    for (const TKindTally& t : tally)
        cases += t.Total() ? t.Total() : 1;
    out += "\" tests=\"" + std::to_string(cases) + "\" failures=\"" +
           std::to_string(CountOf(tally, TSeverity::Error)) + "\">\n";
    auto makeShow = [&](std::string& text) {
        return [&findings, &tally, &text, shown = TShown{}](std::size_t i) mutable {
            const TFinding& f = findings[i];
            if (StartsKind(findings, i))
                AppendSuitesBetween(text, i == 0 ? -1 : static_cast<int>(findings[i - 1].Kind),
                                    static_cast<int>(f.Kind), tally);
            AppendJunitCase(text, f, shown.Of(findings, i));
        };
    };
    auto show = makeShow(out);
    ShowInBlocks(chunks, findings.size(), block, show, makeShow);
    AppendSuitesBetween(
        out, findings.empty() ? -1 : static_cast<int>(findings[findings.size() - 1].Kind),
        kCheckKindCount, tally);
    out += "</testsuites>\n";
    chunks.FlushNow();
}

} // namespace trvx
