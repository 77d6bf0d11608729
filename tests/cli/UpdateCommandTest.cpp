#include "tests/cli/TrvxRun.h"
#include "tests/language/PeFixtures.h"

#include <gtest/gtest.h>

namespace trvx {
namespace {

namespace fs = std::filesystem;

const fs::path kSource = fs::path(TARVIN_SOURCE_DIR);

using Result = test::TTrvxResult;

Result Trvx(const test::TScratchDir& dir, const std::string& args) {
    return test::RunTrvx(dir.Path(), args);
}

// A German translation and a newer English base of a few entries each.
const std::string kTranslation =
    "INFO {\r\n  LangID = 1031\r\n  Author = Team\r\n}\r\n"
    "OBJECTS {\r\n  Form:frmMain {\r\n    Caption = Hauptfenster\r\n"
    "    Button:btnOld {\r\n      Caption = Alt\r\n    }\r\n  }\r\n}\r\n"
    "STRINGS {\r\n  SReady = Bereit\r\n  SGone = Weg\r\n}\r\n";
const std::string kBase = "INFO {\r\n  LangID = 1033\r\n}\r\n"
                          "OBJECTS {\r\n  FORM:FRMMAIN {\r\n    Caption = Main window\r\n"
                          "    Hint = Main\r\n    Button:btnNew {\r\n      Caption = New\r\n"
                          "    }\r\n  }\r\n}\r\n"
                          "STRINGS {\r\n  SReady = Ready\r\n  S\xC4nderung = Change\r\n}\r\n";
const std::string kUpdated = "INFO {\r\n  LangID = 1031\r\n}\r\n"
                             "OBJECTS {\r\n  Form:frmMain {\r\n    Caption = Hauptfenster\r\n"
                             "    Hint = Main\r\n    Button:btnNew {\r\n      Caption = New\r\n"
                             "    }\r\n  }\r\n}\r\n"
                             "STRINGS {\r\n  SReady = Bereit\r\n  S\xC4nderung = Change\r\n}\r\n";
// In the order of the updated file; the path of a name is in UTF-8.
const std::string kLines = "- INFO/Author (value)\n"
                           "+ OBJECTS/Form:frmMain/Hint (value)\n"
                           "- OBJECTS/Form:frmMain/Button:btnOld\n"
                           "+ OBJECTS/Form:frmMain/Button:btnNew\n"
                           "- STRINGS/SGone (value)\n"
                           "+ STRINGS/S\xC3\x84nderung (value)\n";
const std::string kSummary = "trvx update: added 1 node, 2 values; removed 1 node, 2 values";

class UpdateCommand : public testing::Test {
protected:
    void SetUp() override {
        test::WriteBytes(m_dir / "de.trvx", kTranslation);
        test::WriteBytes(m_dir / "en.trvx", kBase);
    }
    test::TScratchDir m_dir;
};

TEST_F(UpdateCommand, WritesTheUpdatedTranslationAndReportsOnStandardError) {
    const Result listed = Trvx(m_dir, "update de.trvx en.trvx -o out.trvx --list");
    EXPECT_EQ(listed.status, 0);
    EXPECT_EQ(listed.out, "");
    EXPECT_EQ(listed.err, kLines + kSummary + "\n");
    EXPECT_EQ(test::ReadBytes(m_dir / "out.trvx"), kUpdated);

    const Result toStdout = Trvx(m_dir, "update de.trvx en.trvx");
    EXPECT_EQ(toStdout.status, 0);
    EXPECT_EQ(toStdout.out, kUpdated);
    EXPECT_EQ(toStdout.err, kSummary + "\n");

    // In place, as a CI job would run it; a second run finds nothing to do.
    EXPECT_EQ(Trvx(m_dir, "update de.trvx en.trvx -o de.trvx").status, 0);
    EXPECT_EQ(test::ReadBytes(m_dir / "de.trvx"), kUpdated);
    EXPECT_EQ(Trvx(m_dir, "update de.trvx en.trvx -o de.trvx").err,
              "trvx update: added 0 nodes, 0 values; removed 0 nodes, 0 values\n");
}

TEST_F(UpdateCommand, TheExampleTranslationGivesTheCheckedFile) {
    fs::copy_file(kSource / "examples/Deutsch.trvx", m_dir / "Deutsch.trvx");
    fs::copy_file(kSource / "examples/English-2.trvx", m_dir / "English-2.trvx");
    const Result r = Trvx(m_dir, "update Deutsch.trvx English-2.trvx -o out.trvx");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(test::ReadBytes(m_dir / "out.trvx"),
              test::ReadBytes(kSource / "tests/fixtures/Deutsch-updated.trvx"));
}

TEST_F(UpdateCommand, DryRunWritesNothing) {
    const Result r = Trvx(m_dir, "update de.trvx en.trvx -o de.trvx --dry-run --list");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, kLines + kSummary + " (dry run, nothing written)\n");
    EXPECT_EQ(test::ReadBytes(m_dir / "de.trvx"), kTranslation);
    EXPECT_EQ(Trvx(m_dir, "update de.trvx en.trvx --dry-run").out, "");
}

TEST_F(UpdateCommand, FailuresLeaveTheFilesAlone) {
    struct Case {
        std::string args;
        int status;
        std::string errStart;
    };
    const Case cases[] = {
        {"update de.trvx missing.trvx -o de.trvx", 1, "trvx: Cannot open file \""},
        {"update missing.trvx en.trvx -o de.trvx", 1, "trvx: Cannot open file \""},
        {"update de.trvx", 2, "trvx update: missing argument"},
        {"update de.trvx en.trvx x.trvx", 2, "trvx update: too many arguments"},
        {"update - - -o de.trvx", 2, "trvx update: only one input can be standard input"},
        {"update de.trvx en.trvx --bogus", 2, "trvx update: unknown option --bogus"},
    };
    for (const Case& c : cases) {
        const Result r = Trvx(m_dir, c.args + " </dev/null");
        EXPECT_EQ(r.status, c.status) << c.args;
        EXPECT_EQ(r.err.substr(0, c.errStart.size()), c.errStart) << c.args << "\n" << r.err;
        EXPECT_EQ(r.out, "") << c.args;
        EXPECT_EQ(test::ReadBytes(m_dir / "de.trvx"), kTranslation) << c.args;
    }
}

TEST_F(UpdateCommand, DiffListsTheDifferencesAndTellsByItsStatus) {
    struct Case {
        std::string args;
        int status;
        std::string out;
    };
    const Case cases[] = {
        {"diff de.trvx de.trvx", 0, ""},
        {"diff de.trvx en.trvx", 1, kLines},
        {"diff -q de.trvx en.trvx", 1, ""},
        // Texts are not compared: the updated file has every name of the base.
        {"diff updated.trvx en.trvx", 0, ""},
        {"diff en.trvx updated.trvx", 0, ""},
    };
    test::WriteBytes(m_dir / "updated.trvx", kUpdated);
    for (const Case& c : cases) {
        const Result r = Trvx(m_dir, c.args);
        EXPECT_EQ(r.status, c.status) << c.args;
        EXPECT_EQ(r.out, c.out) << c.args;
        EXPECT_EQ(r.err, "") << c.args;
    }
    const Result missing = Trvx(m_dir, "diff de.trvx missing.trvx");
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.err.substr(0, 24), "trvx: Cannot open file \"");
    EXPECT_EQ(Trvx(m_dir, "diff de.trvx").status, 2);
}

TEST_F(UpdateCommand, NamesFoldByTheTranslationsLanguage) {
    // A Polish translation (code page 1250, where Ł and ł are one letter)
    // against a base that says it is English (1252, where they are £ and ³).
    test::WriteBytes(m_dir / "pl.trvx", "INFO {\r\n  LangID = 1045\r\n}\r\n\xB3\xF3"
                                        "d\xBA {\r\n}\r\n");
    test::WriteBytes(m_dir / "base.trvx", "INFO {\r\n  LangID = 1033\r\n}\r\n\xA3\xF3"
                                          "d\xBA {\r\n}\r\n");
    EXPECT_EQ(Trvx(m_dir, "diff pl.trvx base.trvx").status, 0);
    EXPECT_EQ(Trvx(m_dir, "diff base.trvx pl.trvx").status, 1);
}

TEST_F(UpdateCommand, HostModuleServesAsTheBase) {
    const fs::path module = kSource / "examples/Deutsch.exe";
    if (!fs::exists(module))
        GTEST_SKIP() << "no example host module";
    fs::copy_file(module, m_dir / "de.exe");
    ASSERT_EQ(Trvx(m_dir, "extract de.exe -o embedded.trvx").status, 0);
    const Result fromModule = Trvx(m_dir, "diff en.trvx de.exe");
    EXPECT_EQ(fromModule.status, 1);
    EXPECT_NE(fromModule.out, "");
    EXPECT_EQ(fromModule.out, Trvx(m_dir, "diff en.trvx embedded.trvx").out);
    const Result updated = Trvx(m_dir, "update de.trvx de.exe");
    EXPECT_EQ(updated.status, 0);
    EXPECT_EQ(updated.out, Trvx(m_dir, "update de.trvx embedded.trvx").out);
}

} // namespace
} // namespace trvx
