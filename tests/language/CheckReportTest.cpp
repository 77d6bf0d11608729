#include "cli/report/CheckReport.h"
#include "XmlCheck.h"
#include "encoding/TextEscape.h"

#include <gtest/gtest.h>
#include <rapidjson/document.h>

#include <sstream>

namespace trvx {
namespace {

// Findings with everything that needs escaping somewhere, about a tree
// that lives as long as the test program (cp1252: "\xC4" is "Ä").
const TFindings& Awkward() {
    static TTarvinItem root;
    static const TFindings findings = [] {
        const CodePage& cp = CodePage::Get(1252);
        TFindings out(cp, cp);
        auto add = [&](TSeverity severity, TCheckKind kind, std::uint32_t path, TTarvinItem& item,
                       std::string_view ident, std::string_view text, std::string message) {
            int index = -1;
            if (!ident.empty()) {
                index = static_cast<int>(item.Values().size());
                item.AddValue(ident, text);
            }
            out.Add(out.WithWords(severity, kind, path, &item, index, std::move(message)));
        };
        auto node = [&](std::string_view parent, std::string_view name) {
            TTarvinItem& top = root.AddChild(parent);
            const std::uint32_t path = out.AddPath(out.AddPath(TFindings::kRootPath, parent), name);
            return std::pair<TTarvinItem&, std::uint32_t>(top.AddChild(name), path);
        };
        auto [a, aPath] = node("M", "A<&>");
        add(TSeverity::Warning, TCheckKind::Accelerator, aPath, a, "Caption", "&\"Quote\" \\ back",
            "accelerator \"Q\" is also used by B");
        auto [f, fPath] = node("F", "\xC4nderung");
        add(TSeverity::Error, TCheckKind::Shortcut, fPath, f, "Shortcut", "Strg+\x01\x1F\x7F",
            "the host cannot read this shortcut");
        TTarvinItem& s = root.AddChild("S");
        add(TSeverity::Info, TCheckKind::Untranslated, out.AddPath(TFindings::kRootPath, "S"), s,
            "Items", "a\r\nb\tc]]>", "the same text as the base");
        auto [n, nPath] = node("N", "z\r\n M");
        add(TSeverity::Error, TCheckKind::Structure, nPath, n, "", "",
            "the name holds a line break");
        add(TSeverity::Error, TCheckKind::Structure, TFindings::kRootPath, root, "v", "1",
            "root value");
        return out;
    }();
    return findings;
}

const TFindings& NoFindings() {
    static const TFindings none(CodePage::Get(1252), CodePage::Get(1252));
    return none;
}

using TWrite = void (*)(std::ostream&, const TFindings&, const TCheckSource&, std::size_t);

std::string Report(TWrite write, const TFindings& findings, const TCheckSource& source,
                   std::size_t block = ReportBlockForThisMachine()) {
    std::ostringstream out;
    write(out, findings, source, block);
    return out.str();
}

const TCheckSource kSource{"de \xFF\"x\".trvx", "en.trvx", "windows-1252"};

TEST(CheckReport, JsonParsesAndKeepsEveryText) {
    const TFindings& findings = Awkward();
    const std::string json = Report(WriteCheckReportJson, findings, kSource);
    rapidjson::Document doc;
    doc.Parse<rapidjson::kParseValidateEncodingFlag>(json.data(), json.size());
    ASSERT_FALSE(doc.HasParseError()) << json;
    EXPECT_STREQ(doc["file"].GetString(), "de \xEF\xBF\xBD\"x\".trvx"); // bad byte replaced
    EXPECT_STREQ(doc["base"].GetString(), "en.trvx");
    EXPECT_EQ(doc["summary"]["errors"].GetInt(), 3);
    EXPECT_EQ(doc["summary"]["warnings"].GetInt(), 1);
    EXPECT_EQ(doc["summary"]["infos"].GetInt(), 1);
    EXPECT_EQ(doc["summary"]["checks"]["structure"].GetInt(), 2);
    EXPECT_EQ(doc["summary"]["checks"]["list"].GetInt(), 0);
    const auto& list = doc["findings"];
    ASSERT_EQ(list.Size(), findings.size());
    for (rapidjson::SizeType i = 0; i < list.Size(); ++i) {
        EXPECT_EQ(std::string(list[i]["path"].GetString(), list[i]["path"].GetStringLength()),
                  findings.Path(findings[i]));
        EXPECT_EQ(std::string(list[i]["text"].GetString(), list[i]["text"].GetStringLength()),
                  findings.Text(findings[i]));
        EXPECT_STREQ(list[i]["check"].GetString(), CheckKindName(findings[i].Kind).data());
    }

    const std::string none = Report(WriteCheckReportJson, NoFindings(), {"a", "", "windows-1251"});
    doc.Parse(none.c_str());
    ASSERT_FALSE(doc.HasParseError()) << none;
    EXPECT_TRUE(doc["base"].IsNull());
    EXPECT_EQ(doc["findings"].Size(), 0u);
}

TEST(CheckReport, JunitIsWellFormedAndOnlyErrorsFail) {
    std::map<std::string, int> elements;
    const std::string xml = Report(WriteCheckReportJunit, Awkward(), kSource);
    EXPECT_EQ(test::CheckXml(xml, &elements), "") << xml;
    EXPECT_EQ(elements["testsuites"], 1);
    EXPECT_EQ(elements["testsuite"], kCheckKindCount);
    // Five findings plus one passing case for each of the three checks without any.
    EXPECT_EQ(elements["testcase"], 5 + 3);
    EXPECT_EQ(elements["failure"], 3);
    EXPECT_NE(xml.find("failures=\"3\""), std::string::npos);

    elements.clear();
    EXPECT_EQ(test::CheckXml(Report(WriteCheckReportJunit, NoFindings(), kSource), &elements), "");
    EXPECT_EQ(elements["testcase"], kCheckKindCount);
    EXPECT_EQ(elements["failure"], 0);
}

TEST(CheckReport, XmlCheckerRejectsWhatIsBroken) {
    for (const char* bad : {"<a>", "<a></b>", "<a x=\"<\"/>", "<a>&nbsp;</a>", "<a>\x01</a>",
                            "<a>&#1;</a>", "<a/><b/>", "<a x=\"1\" x=\"2\"/>", "<a>\xFF</a>"})
        EXPECT_NE(test::CheckXml(bad), "") << bad;
    EXPECT_EQ(test::CheckXml("<?xml version=\"1.0\"?>\n<a x=\"&quot;&#10;\">t&amp;<b/></a>\n"), "");
}

TEST(CheckReport, TextGroupsByCheckAndEndsWithASummary) {
    const std::string text = Report(WriteCheckReportText, Awkward(), kSource);
    const std::size_t accelerators = text.find("\nAccelerators (1 warning)\n");
    const std::size_t shortcuts = text.find("\nShortcuts (1 error)\n");
    const std::size_t structure = text.find("\nFile structure (2 errors)\n");
    ASSERT_NE(accelerators, std::string::npos) << text;
    ASSERT_NE(shortcuts, std::string::npos) << text;
    ASSERT_NE(structure, std::string::npos) << text;
    EXPECT_LT(accelerators, shortcuts);
    EXPECT_LT(shortcuts, structure);
    // Control characters are shown, not sent to the terminal.
    EXPECT_NE(text.find("Shortcut = \"Strg+\\x01\\x1f\\x7f\""), std::string::npos) << text;
    EXPECT_NE(text.find("Items = \"a\\nb\\tc]]>\""), std::string::npos) << text;
    EXPECT_NE(text.find("  error    (root)  v = \"1\"\n"), std::string::npos) << text;
    EXPECT_TRUE(text.ends_with("\n3 errors, 1 warning, 1 info; 1 value the same as the base\n"))
        << text;
    EXPECT_TRUE(Report(WriteCheckReportText, NoFindings(), {"a", "", "windows-1252"})
                    .ends_with("\nNo findings.\n\n0 errors, 0 warnings, 0 infos\n"));
}

// Blocks of one, two and three findings end at every finding and every
// change of check, and alternate between the threads.
TEST(CheckReport, EveryBlockSizeWritesTheSameBytes) {
    for (const TWrite write : {WriteCheckReportText, WriteCheckReportJson, WriteCheckReportJunit}) {
        const std::string whole = Report(write, Awkward(), kSource, kOneBlock);
        for (const std::size_t block : {1, 2, 3})
            EXPECT_EQ(Report(write, Awkward(), kSource, block), whole) << block;
    }
}

TEST(ReportFormat, Escaping) {
    EXPECT_EQ(ValidUtf8("a\xC3\x84\xFF\xC0\x80\xED\xA0\x80"),
              "a\xC3\x84\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");
    std::string json;
    AppendJsonString(json, "\"\\\n\x01/");
    EXPECT_EQ(json, "\"\\\"\\\\\\n\\u0001/\"");
    std::string attribute;
    AppendXmlText(attribute, "<&>\"\t\r\n\x02", true);
    EXPECT_EQ(attribute, "&lt;&amp;&gt;&quot;&#9;&#13;&#10;\xEF\xBF\xBD");
    EXPECT_EQ(DisplayText("abcdef", 3), "abc\xE2\x80\xA6");
    EXPECT_EQ(DisplayText("a\r\nb\rc", 10), "a\\nb\\rc");
    EXPECT_EQ(ShortText("ab\x1b", 4), "ab\\x1b");
    EXPECT_EQ(ShortText("a\xC3\x84"
                        "cdefgh\xC3\x84j",
                        4),
              "a\xC3\x84\xE2\x80\xA6\xC3\x84j (10 characters)");
}

} // namespace
} // namespace trvx
