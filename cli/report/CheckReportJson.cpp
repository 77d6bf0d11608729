#include "cli/report/CheckReport.h"
#include "cli/report/CheckReportParts.h"
#include "cli/report/JsonWriter.h"

#include <memory>
#include <ostream>

namespace trvx {

using namespace report;

void WriteCheckReportJson(std::ostream& stream, const TFindings& findings,
                          const TCheckSource& source, std::size_t block) {
    using cli::TJsonWriter;
    TTextSink chunks = ReportSink(stream);
    TJsonWriter json(chunks.Out(), TJsonWriter::TLayout::Report);
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
    chunks.Out() += '\n';
    chunks.FlushNow();
}

} // namespace trvx
