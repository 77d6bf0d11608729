#include "tests/cli/TrvxRun.h"
#include "tests/language/XmlCheck.h"

#include <gtest/gtest.h>
#include <rapidjson/document.h>

#include <filesystem>
#include <fstream>

namespace trvx {
namespace {

namespace fs = std::filesystem;

const fs::path kExamples = fs::path(TARVIN_SOURCE_DIR) / "examples";

class CheckCommand : public testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "trvx-check-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
    }
    void TearDown() override { fs::remove_all(m_dir); }

    fs::path Write(const std::string& name, const std::string& bytes) {
        std::ofstream(m_dir / name, std::ios::binary) << bytes;
        return m_dir / name;
    }

    using Result = test::TTrvxResult;
    Result Run(const std::string& args) { return test::RunTrvx(m_dir, args); }

    fs::path m_dir;
};

const std::string kClean = "OBJECTS {\r\n  Form:f {\r\n    Menu:m {\r\n      Caption = &Datei\r\n"
                           "      Shortcut = Ctrl+D\r\n    }\r\n  }\r\n}\r\n";
const std::string kWarning = "OBJECTS {\r\n  Form:f {\r\n    Menu:m {\r\n      Caption = Datei&\r\n"
                             "    }\r\n  }\r\n}\r\n";
const std::string kError = "OBJECTS {\r\n  Form:f {\r\n    Menu:m {\r\n      Shortcut = Strg+D\r\n"
                           "    }\r\n  }\r\n}\r\n";

TEST_F(CheckCommand, ExitStatusGatesOnErrorsOnly) {
    const fs::path clean = Write("clean.trvx", kClean);
    const fs::path warning = Write("warning.trvx", kWarning);
    const fs::path error = Write("error.trvx", kError);
    for (const char* format : {"text", "json", "junit"}) {
        const std::string f = std::string(" --format ") + format;
        EXPECT_EQ(Run("check " + clean.string() + f).status, 0) << format;
        EXPECT_EQ(Run("check " + warning.string() + f).status, 0) << format;
        EXPECT_EQ(Run("check " + error.string() + f).status, 1) << format;
        EXPECT_EQ(Run("check " + error.string() + " --base " + clean.string() + f).status, 1);
    }
    EXPECT_NE(Run("check " + clean.string()).out.find("No findings."), std::string::npos);
}

TEST_F(CheckCommand, UsageAndInputErrors) {
    const fs::path clean = Write("clean.trvx", kClean);
    EXPECT_EQ(Run("check").status, 2);
    EXPECT_EQ(Run("check " + clean.string() + " --format xml").status, 2);
    EXPECT_EQ(Run("check " + clean.string() + " --base").status, 2);
    EXPECT_EQ(Run("check " + clean.string() + " --strict").status, 2);
    EXPECT_EQ(Run("check a.trvx b.trvx").status, 2);
    EXPECT_EQ(Run("stats " + clean.string() + " --format junit").status, 2);
    const Result missing = Run("check " + (m_dir / "none.trvx").string());
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("Cannot open file"), std::string::npos) << missing.err;
    EXPECT_EQ(missing.out, "");
    EXPECT_EQ(Run("check " + clean.string() + " --base " + (m_dir / "none.trvx").string()).status,
              1);
}

TEST_F(CheckCommand, StandardInput) {
    const fs::path error = Write("error.trvx", kError);
    const fs::path clean = Write("clean.trvx", kClean);
    EXPECT_EQ(Run("check - <" + error.string()).status, 1);
    EXPECT_EQ(Run("check - --base " + clean.string() + " <" + error.string()).status, 1);
    EXPECT_EQ(Run("check " + error.string() + " --base - <" + clean.string()).status, 1);
    EXPECT_EQ(Run("check - --base - <" + clean.string()).status, 2);
}

// The bundled example holds one finding of each kind on purpose.
TEST_F(CheckCommand, ExampleHoldsEveryKindOfFinding) {
    const std::string args = "check " + (kExamples / "Deutsch.trvx").string() + " --base " +
                             (kExamples / "English-2.trvx").string();
    const Result json = Run(args + " --format json");
    EXPECT_EQ(json.status, 1);
    rapidjson::Document doc;
    doc.Parse<rapidjson::kParseValidateEncodingFlag>(json.out.c_str());
    ASSERT_FALSE(doc.HasParseError()) << json.out;
    for (const char* kind : {"accelerator", "shortcut", "placeholder", "list", "untranslated",
                             "whitespace", "structure"})
        EXPECT_GE(doc["summary"]["checks"][kind].GetInt(), 1) << kind;
    EXPECT_EQ(doc["summary"]["errors"].GetInt(), 3);
    // Umlauts of the cp1252 file arrive as UTF-8.
    EXPECT_NE(json.out.find("\"text\": \"\xC3\x84nderungen speichern?\""), std::string::npos);

    const Result junit = Run(args + " --format junit");
    EXPECT_EQ(junit.status, 1);
    std::map<std::string, int> elements;
    EXPECT_EQ(test::CheckXml(junit.out, &elements), "") << junit.out;
    EXPECT_EQ(elements["failure"], 3);

    const Result text = Run(args);
    EXPECT_EQ(text.status, 1);
    EXPECT_NE(text.out.find("\n3 errors, 8 warnings, 3 infos; 3 values the same as the base\n"),
              std::string::npos)
        << text.out;
}

TEST_F(CheckCommand, StatsJson) {
    const fs::path mine = Write("de.trvx", "INFO {\r\n  LangID = 1031\r\n}\r\nS {\r\n  a = Ja\r\n"
                                           "  b = OK\r\n}\r\n");
    const fs::path base = Write("en.trvx", "S {\r\n  a = Yes\r\n  b = OK\r\n  c = More\r\n"
                                           "  d = 42\r\n}\r\nNEW {\r\n  x = New\r\n}\r\n");
    const Result r = Run("stats " + mine.string() + " --base " + base.string() + " --format json");
    ASSERT_EQ(r.status, 0) << r.err;
    rapidjson::Document doc;
    doc.Parse(r.out.c_str());
    ASSERT_FALSE(doc.HasParseError()) << r.out;
    EXPECT_EQ(doc["nodes"].GetInt(), 2);
    EXPECT_EQ(doc["values"].GetInt(), 3);
    EXPECT_EQ(doc["coverage"]["translated"].GetInt(), 1);
    EXPECT_EQ(doc["coverage"]["untranslated"].GetInt(), 1);
    EXPECT_EQ(doc["coverage"]["missing"].GetInt(), 2);
    EXPECT_DOUBLE_EQ(doc["coverage"]["share"].GetDouble(), 0.25);
    ASSERT_EQ(doc["sections"].Size(), 3u);
    EXPECT_TRUE(doc["sections"][0]["coverage"]["share"].IsNull()); // INFO: no base texts
    EXPECT_FALSE(doc["sections"][2]["inTranslation"].GetBool());

    const Result text = Run("stats " + mine.string() + " --base " + base.string());
    EXPECT_NE(
        text.out.find("25.0% translated (1 of 4 base texts; 1 the same as the base, 2 missing)"),
        std::string::npos)
        << text.out;
    EXPECT_NE(text.out.find("NEW (base only)"), std::string::npos) << text.out;
}

} // namespace
} // namespace trvx
