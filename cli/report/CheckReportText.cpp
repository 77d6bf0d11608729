#include "cli/report/CheckReport.h"
#include "cli/report/CheckReportParts.h"
#include "encoding/TextEscape.h"

#include <ostream>

namespace trvx {

using namespace report;

namespace {

std::string Tally(int errors, int warnings, int infos) {
    return Counted(errors, "error", "errors") + ", " + Counted(warnings, "warning", "warnings") +
           ", " + Counted(infos, "info", "infos");
}

// One finding, two lines: severity, where and the value; then the message.
// Appended piece by piece: a large report holds a hundred thousand of them.
void AppendFinding(std::string& out, const TFinding& finding, const TShown& f) {
    const std::string_view severity = SeverityName(finding.Severity);
    out += "  ";
    out += severity;
    out.append(severity.size() < 9 ? 9 - severity.size() : 1, ' ');
    if (f.Path.empty())
        out += "(root)";
    else
        AppendValidUtf8(out, f.Path);
    if (finding.ValueIndex >= 0) {
        out += "  ";
        AppendDisplayText(out, f.Ident, kShownChars);
        out += " = \"";
        AppendDisplayText(out, f.Text, kShownChars);
        out += '"';
    }
    out += "\n           ";
    AppendValidUtf8(out, f.Message);
    out += '\n';
}

void AppendKindHeading(std::string& out, TCheckKind kind, const TKindTally& t) {
    std::string counts;
    for (int s = 0; s < 3; ++s) {
        if (!t.bySeverity[s])
            continue;
        static constexpr std::array<std::array<std::string_view, 2>, 3> kWords = {
            {{"error", "errors"}, {"warning", "warnings"}, {"info", "infos"}}};
        counts +=
            (counts.empty() ? "" : ", ") + Counted(t.bySeverity[s], kWords[s][0], kWords[s][1]);
    }
    out += "\n" + std::string(CheckKindTitle(kind)) + " (" + counts + ")\n";
}

} // namespace

void WriteCheckReportText(std::ostream& stream, const TFindings& findings,
                          const TCheckSource& source, std::size_t block) {
    TTextSink chunks = ReportSink(stream);
    std::string& out = chunks.Out();
    out += "Checked " + ValidUtf8(source.File);
    if (!source.Base.empty())
        out += " against " + ValidUtf8(source.Base);
    out += " (" + source.CodePage + ")\n";
    const TTally tally = TallyByKind(findings);
    auto makeShow = [&](std::string& text) {
        return [&findings, &tally, &text, shown = TShown{}](std::size_t i) mutable {
            const TFinding& f = findings[i];
            if (StartsKind(findings, i))
                AppendKindHeading(text, f.Kind, tally[static_cast<int>(f.Kind)]);
            AppendFinding(text, f, shown.Of(findings, i));
        };
    };
    auto show = makeShow(out);
    ShowInBlocks(chunks, findings.size(), block, show, makeShow);
    if (findings.empty())
        out += "\nNo findings.\n";
    out += "\n" + Tally(CountOf(tally, TSeverity::Error), CountOf(tally, TSeverity::Warning),
                        CountOf(tally, TSeverity::Info));
    if (!source.Base.empty()) {
        const int untranslated = tally[static_cast<int>(TCheckKind::Untranslated)].Total();
        out += "; " + Counted(untranslated, "value", "values") + " the same as the base";
    }
    out += "\n";
    chunks.FlushNow();
}

} // namespace trvx
