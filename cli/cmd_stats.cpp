#include "check/Stats.h"
#include "cli/CliIo.h"
#include "cli/LoadWithBase.h"
#include "cli/Options.h"
#include "cli/report/JsonWriter.h"
#include "encoding/TextEscape.h"
#include "encoding/Utf8.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <optional>

namespace trvx::cli {
namespace {

std::string Percent(const std::optional<double>& share) {
    if (!share)
        return "-";
    char buf[16];
    std::snprintf(buf, sizeof buf, "%.1f%%", *share * 100.0);
    return buf;
}

// Left-aligned first column, the others right-aligned.
std::string Table(const std::vector<std::vector<std::string>>& rows) {
    std::vector<std::size_t> width;
    for (const auto& row : rows) {
        width.resize(std::max(width.size(), row.size()));
        for (std::size_t c = 0; c < row.size(); ++c)
            width[c] = std::max(width[c], Utf8Length(row[c]));
    }
    std::string out;
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t c = 0; c < row.size(); ++c) {
            const std::string pad(width[c] - Utf8Length(row[c]), ' ');
            line += c == 0 ? row[c] + pad : "  " + pad + row[c];
        }
        while (!line.empty() && line.back() == ' ')
            line.pop_back();
        out += line + "\n";
    }
    return out;
}

std::string Text(const TLanguageStats& stats, const std::string& file, const std::string& base,
                 const CodePage& cp) {
    std::string out = ValidUtf8(file) + " (" + cp.Name() + "): " + std::to_string(stats.Nodes) +
                      " nodes, " + std::to_string(stats.Values) + " values\n";
    if (stats.HasBase) {
        const TCoverage& c = stats.Coverage;
        out += "against " + ValidUtf8(base) + ": " + Percent(c.Share()) + " translated (" +
               std::to_string(c.Translated) + " of " + std::to_string(c.Total()) + " base texts; " +
               std::to_string(c.Untranslated) + " the same as the base, " +
               std::to_string(c.Missing) + " missing)\n";
    }
    std::vector<std::vector<std::string>> rows;
    if (stats.HasBase)
        rows.push_back({"Section", "Nodes", "Values", "Translated", "Same", "Missing", "Share"});
    else
        rows.push_back({"Section", "Nodes", "Values"});
    auto row = [&](std::string name, bool present, long long nodes, long long values,
                   const TCoverage& c) {
        std::vector<std::string> r{std::move(name), present ? std::to_string(nodes) : "-",
                                   present ? std::to_string(values) : "-"};
        if (stats.HasBase) {
            r.push_back(std::to_string(c.Translated));
            r.push_back(std::to_string(c.Untranslated));
            r.push_back(std::to_string(c.Missing));
            r.push_back(Percent(c.Share()));
        }
        rows.push_back(std::move(r));
    };
    for (const TSectionStats& s : stats.Sections)
        // A long name would pad every row to its length.
        row(ShortText(cp.ToUtf8(s.Name)) + (s.InTranslation ? "" : " (base only)"), s.InTranslation,
            s.Nodes, s.Values, s.Coverage);
    row("Total", true, stats.Nodes, stats.Values, stats.Coverage);
    return out + "\n" + Table(rows);
}

void JsonCoverage(TJsonWriter& json, bool hasBase, const TCoverage& c) {
    if (!hasBase) {
        json.Null();
        return;
    }
    json.StartObject();
    json.Member("translated", c.Translated);
    json.Member("untranslated", c.Untranslated);
    json.Member("missing", c.Missing);
    json.Key("share");
    if (const auto share = c.Share())
        json.Fixed(*share, 4);
    else
        json.Null();
    json.EndObject();
}

std::string Json(const TLanguageStats& stats, const std::string& file, const std::string& base,
                 const CodePage& cp) {
    std::string out;
    TJsonWriter json(out, TJsonWriter::TLayout::Report);
    json.StartObject();
    json.Member("file", file);
    json.Key("base");
    if (stats.HasBase)
        json.String(base);
    else
        json.Null();
    json.Member("codePage", cp.Name());
    json.Member("nodes", stats.Nodes);
    json.Member("values", stats.Values);
    json.Key("coverage");
    JsonCoverage(json, stats.HasBase, stats.Coverage);
    json.Key("sections");
    json.StartArray();
    for (const TSectionStats& s : stats.Sections) {
        json.StartObject();
        json.Member("name", cp.ToUtf8(s.Name));
        json.Key("inTranslation");
        json.Bool(s.InTranslation);
        json.Member("nodes", s.Nodes);
        json.Member("values", s.Values);
        json.Key("coverage");
        JsonCoverage(json, stats.HasBase, s.Coverage);
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
    return out + "\n";
}

void DeclareStats(CLI::App& app, TReportOptions& o) {
    DeclareReportOptions(app, o, "the translation to count", {"text", "json"});
}

int RunStats(const TReportOptions& o) {
    const TTranslation translation = LoadTranslation(o.file, o.base, o.codePage);
    WarnAboutLosses({{o.file, translation.Tree}});
    if (translation.Base)
        WarnAboutLosses({{o.base, *translation.Base}});
    const TLanguageStats stats = CollectStats(translation.Tree, translation.Base);
    const CodePage& cp = translation.Tree.GetCodePage();
    WriteOutput("", o.format == "json" ? Json(stats, o.file, o.base, cp)
                                       : Text(stats, o.file, o.base, cp));
    return 0;
}

const RegisterCommand
    reg({"stats", "count nodes and values, and how much is translated",
         R"help(Prints the number of nodes and values of TRANSLATION, in total and per
top-level section. With --base, also how much of BASE is translated: of
the base's texts that hold a letter (shortcuts aside), those whose value
in TRANSLATION differs (translated), is the same (untranslated), or is
not there at all (missing; run trvx update to add them).
)help",
         SetupOf(DeclareStats, RunStats)});

} // namespace
} // namespace trvx::cli
