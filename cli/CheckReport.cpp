#include "cli/CheckReport.h"

#include "cli/JsonWriter.h"
#include "encoding/TextEscape.h"

#include <array>
#include <ostream>

namespace trvx {

namespace {

constexpr std::size_t kShownChars = 70;

// A report is built a piece at a time in one reused buffer and handed on
// whenever it is full, so a report of a hundred thousand findings never
// sits whole in memory.
class TChunkedOut {
public:
    explicit TChunkedOut(std::ostream& out) : m_out(out) { m_text.reserve(kChunk + kChunk / 4); }
    std::string& Text() { return m_text; }
    void Pass() {
        if (m_text.size() >= kChunk)
            Flush();
    }
    void Flush() {
        m_out.write(m_text.data(), static_cast<std::streamsize>(m_text.size()));
        m_text.clear();
    }

private:
    static constexpr std::size_t kChunk = std::size_t{64} << 10;
    std::ostream& m_out;
    std::string m_text;
};

std::string Tally(int errors, int warnings, int infos) {
    return Counted(errors, "error", "errors") + ", " + Counted(warnings, "warning", "warnings") +
           ", " + Counted(infos, "info", "infos");
}

struct TKindTally {
    std::array<int, 3> bySeverity{};
    int Total() const { return bySeverity[0] + bySeverity[1] + bySeverity[2]; }
};

// A finding in words, made in buffers kept from one finding to the next.
struct TShown {
    std::string Path, Ident, Text, Message;
    const TShown& Of(const TFindings& findings, const TFinding& f) {
        for (std::string* s : {&Path, &Ident, &Text, &Message})
            s->clear();
        findings.AppendPath(Path, f);
        findings.AppendIdent(Ident, f);
        findings.AppendText(Text, f);
        findings.AppendMessage(Message, f);
        return *this;
    }
};

std::array<TKindTally, kCheckKindCount> TallyByKind(const TFindings& findings) {
    std::array<TKindTally, kCheckKindCount> tally{};
    for (const TFinding& f : findings)
        ++tally[static_cast<int>(f.Kind)].bySeverity[static_cast<int>(f.Severity)];
    return tally;
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

} // namespace

void WriteCheckReportText(std::ostream& stream, const TFindings& findings,
                          const TCheckSource& source) {
    TChunkedOut chunks(stream);
    std::string& out = chunks.Text();
    out += "Checked " + ValidUtf8(source.File);
    if (!source.Base.empty())
        out += " against " + ValidUtf8(source.Base);
    out += " (" + source.CodePage + ")\n";
    const auto tally = TallyByKind(findings);
    std::size_t next = 0;
    TShown shown;
    for (int k = 0; k < kCheckKindCount; ++k) {
        const TKindTally& t = tally[k];
        if (t.Total() == 0)
            continue;
        std::string counts;
        for (int s = 0; s < 3; ++s) {
            if (!t.bySeverity[s])
                continue;
            static constexpr std::array<std::array<std::string_view, 2>, 3> kWords = {
                {{"error", "errors"}, {"warning", "warnings"}, {"info", "infos"}}};
            counts +=
                (counts.empty() ? "" : ", ") + Counted(t.bySeverity[s], kWords[s][0], kWords[s][1]);
        }
        out +=
            "\n" + std::string(CheckKindTitle(static_cast<TCheckKind>(k))) + " (" + counts + ")\n";
        // Findings come grouped by kind, in the order of the kinds.
        for (; next < findings.size() && static_cast<int>(findings[next].Kind) == k; ++next) {
            AppendFinding(out, findings[next], shown.Of(findings, findings[next]));
            chunks.Pass();
        }
    }
    const int errors = findings.Count(TSeverity::Error);
    const int warnings = findings.Count(TSeverity::Warning);
    const int infos = findings.Count(TSeverity::Info);
    if (findings.empty())
        out += "\nNo findings.\n";
    out += "\n" + Tally(errors, warnings, infos);
    if (!source.Base.empty()) {
        const int untranslated = tally[static_cast<int>(TCheckKind::Untranslated)].Total();
        out += "; " + Counted(untranslated, "value", "values") + " the same as the base";
    }
    out += "\n";
    chunks.Flush();
}

void WriteCheckReportJson(std::ostream& stream, const TFindings& findings,
                          const TCheckSource& source) {
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
    json.Member("errors", findings.Count(TSeverity::Error));
    json.Member("warnings", findings.Count(TSeverity::Warning));
    json.Member("infos", findings.Count(TSeverity::Info));
    json.Key("checks");
    json.StartObject();
    const auto tally = TallyByKind(findings);
    for (int k = 0; k < kCheckKindCount; ++k)
        json.Member(CheckKindName(static_cast<TCheckKind>(k)), tally[k].Total());
    json.EndObject();
    json.EndObject();
    json.Key("findings");
    json.StartArray();
    TShown shown;
    for (const TFinding& finding : findings) {
        const TShown& f = shown.Of(findings, finding);
        json.StartObject();
        json.Member("severity", SeverityName(finding.Severity));
        json.Member("check", CheckKindName(finding.Kind));
        json.Member("path", f.Path);
        json.Member("ident", f.Ident);
        json.Member("text", f.Text);
        json.Member("message", f.Message);
        json.EndObject();
        chunks.Pass();
    }
    json.EndArray();
    json.EndObject();
    chunks.Text() += '\n';
    chunks.Flush();
}

void WriteCheckReportJunit(std::ostream& stream, const TFindings& findings,
                           const TCheckSource& source) {
    const auto tally = TallyByKind(findings);
    TChunkedOut chunks(stream);
    std::string& out = chunks.Text();
    out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<testsuites name=\"trvx check ";
    AppendXmlText(out, source.File, true);
    int cases = 0;
    for (const TKindTally& t : tally)
        cases += t.Total() ? t.Total() : 1;
    out += "\" tests=\"" + std::to_string(cases) + "\" failures=\"" +
           std::to_string(findings.Count(TSeverity::Error)) + "\">\n";
    std::size_t next = 0;
    TShown shown;
    for (int k = 0; k < kCheckKindCount; ++k) {
        const auto kind = static_cast<TCheckKind>(k);
        const std::string name(CheckKindName(kind));
        const TKindTally& t = tally[k];
        out += "  <testsuite name=\"" + name + "\" tests=\"" +
               std::to_string(t.Total() ? t.Total() : 1) + "\" failures=\"" +
               std::to_string(t.bySeverity[0]) + "\" errors=\"0\" skipped=\"0\">\n";
        if (t.Total() == 0)
            out += "    <testcase classname=\"trvx.check." + name + "\" name=\"no findings\"/>\n";
        for (; next < findings.size() && findings[next].Kind == kind; ++next) {
            const TFinding& finding = findings[next];
            const TShown& f = shown.Of(findings, finding);
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
            chunks.Pass();
        }
        out += "  </testsuite>\n";
    }
    out += "</testsuites>\n";
    chunks.Flush();
}

} // namespace trvx
