#include "cli/CheckReport.h"

#include "cli/JsonWriter.h"
#include "encoding/TextEscape.h"

#include <array>
#include <memory>
#include <ostream>

namespace trvx {

namespace {

constexpr std::size_t kShownChars = 70;
// Findings apart of one prefetch stage and the next.
constexpr std::size_t kPrefetchDistance = 4;

std::string Tally(int errors, int warnings, int infos) {
    return Counted(errors, "error", "errors") + ", " + Counted(warnings, "warning", "warnings") +
           ", " + Counted(infos, "info", "infos");
}

struct TKindTally {
    std::array<int, 3> bySeverity{};
    int Total() const { return bySeverity[0] + bySeverity[1] + bySeverity[2]; }
};

// A finding in words, made in buffers kept from one finding to the next.
// One for each thread that shows findings.
struct TShown {
    std::string Path, Ident, Text, Message;
    TFindings::TPathMemo Memo;
    // Finding i, with the memory of those a few ahead asked for.
    const TShown& Of(const TFindings& findings, std::size_t i) {
        for (int stage = 0; stage < TFindings::kPrefetchStages; ++stage) {
            const std::size_t ahead = i + kPrefetchDistance * (TFindings::kPrefetchStages - stage);
            if (ahead < findings.size())
                findings.Prefetch(findings[ahead], stage);
        }
        return Of(findings, findings[i]);
    }
    const TShown& Of(const TFindings& findings, const TFinding& f) {
        for (std::string* s : {&Path, &Ident, &Text, &Message})
            s->clear();
        findings.AppendPath(Path, f, Memo);
        findings.AppendIdent(Ident, f);
        findings.AppendText(Text, f);
        findings.AppendMessage(Message, f);
        return *this;
    }
};

using TTally = std::array<TKindTally, kCheckKindCount>;

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

// Findings come grouped by kind, in the order of the kinds: a finding
// starts its kind's part of a report when the one before is of another.
bool StartsKind(const TFindings& findings, std::size_t i) {
    return i == 0 || findings[i - 1].Kind != findings[i].Kind;
}

std::string Where(const TShown& f) {
    return f.Path.empty() ? "(root)" : ValidUtf8(f.Path);
}

std::string ValueLine(const TFinding& finding, const TShown& f) {
    if (finding.ValueIndex < 0)
        return {};
    return DisplayText(f.Ident, kShownChars) + " = \"" + DisplayText(f.Text, kShownChars) + "\"";
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
    TChunkedOut chunks(stream);
    std::string& out = chunks.Text();
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
    chunks.Flush();
}

void WriteCheckReportJson(std::ostream& stream, const TFindings& findings,
                          const TCheckSource& source, std::size_t block) {
    using cli::TJsonWriter;
    TChunkedOut chunks(stream);
    TJsonWriter json(chunks.Text(), TJsonWriter::TLayout::Report);
    json.StartObject();
    json.Member("file", source.File);
    json.Key("base");
    if (source.Base.empty())
        json.Null();
    else
        json.String(source.Base);
    json.Member("codePage", source.CodePage);
    json.Key("summary");
    json.StartObject();
    const TTally tally = TallyByKind(findings);
    json.Member("errors", CountOf(tally, TSeverity::Error));
    json.Member("warnings", CountOf(tally, TSeverity::Warning));
    json.Member("infos", CountOf(tally, TSeverity::Info));
    json.Key("checks");
    json.StartObject();
    for (int k = 0; k < kCheckKindCount; ++k)
        json.Member(CheckKindName(static_cast<TCheckKind>(k)), tally[k].Total());
    json.EndObject();
    json.EndObject();
    json.Key("findings");
    json.StartArray();
    auto showWith = [&findings](TJsonWriter& writer, TShown& shown, std::size_t i) {
        const TFinding& finding = findings[i];
        const TShown& f = shown.Of(findings, i);
        writer.StartObject();
        writer.Member("severity", SeverityName(finding.Severity));
        writer.Member("check", CheckKindName(finding.Kind));
        writer.Member("path", f.Path);
        writer.Member("ident", f.Ident);
        writer.Member("text", f.Text);
        writer.Member("message", f.Message);
        writer.EndObject();
    };
    auto show = [&, shown = TShown{}](std::size_t i) mutable { showWith(json, shown, i); };
    auto makeShow = [&](std::string& text) {
        // A writer of its own, inside the findings array after an element,
        // so that every finding it writes is one that follows another.
        auto writer = std::make_unique<TJsonWriter>(text, TJsonWriter::TLayout::Report);
        writer->StartObject();
        writer->Key("findings");
        writer->StartArray();
        writer->Null();
        text.clear();
        return [&showWith, writer = std::move(writer), shown = TShown{}](std::size_t i) mutable {
            showWith(*writer, shown, i);
        };
    };
    ShowInBlocks(chunks, findings.size(), block, show, makeShow);
    json.EndArray();
    json.EndObject();
    chunks.Text() += '\n';
    chunks.Flush();
}

namespace {

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
    TChunkedOut chunks(stream);
    std::string& out = chunks.Text();
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
    chunks.Flush();
}

} // namespace trvx
