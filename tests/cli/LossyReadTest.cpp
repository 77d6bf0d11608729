#include "tests/cli/TrvxRun.h"
#include "tests/language/PeFixtures.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/wait.h>

namespace trvx {
namespace {

namespace fs = std::filesystem;

const fs::path kExamples = fs::path(TARVIN_SOURCE_DIR) / "examples";
const std::string kTranslation = "INFO {\r\n  LangID = 1031\r\n}\r\nSTRINGS {\r\n  S = Ja\r\n}\r\n";
const std::string kCut = "N {\r\n  a = b\r\n}\r\nM {\r\n  c = d";

class LossyRead : public testing::Test {
protected:
    void SetUp() override {
        test::WriteBytes(m_dir / "de.trvx", kTranslation);
        test::WriteBytes(m_dir / "cut.trvx", kCut);
        test::WriteBytes(m_dir / "empty.trvx", "");
        test::WriteBytes(m_dir / "surplus.trvx", "N {\r\n}\r\n}\r\nM {\r\n}\r\n");
        fs::copy_file(kExamples / "Deutsch.exe", m_dir / "x.exe");
        fs::copy_file(kExamples / "Deutsch.exe", m_dir / "base.dll");
    }
    test::TScratchDir m_dir;
};

struct Case {
    const char* args;
    int status;
    std::string err; // the start of standard error
};

// Nothing a read lost, and no host module, is ever written over a file.
TEST_F(LossyRead, NeverOverwritesAFileAndSaysWhy) {
    const std::string cutLine =
        ":5:3: error: the end of the text cuts this value off (no closing line break, quote or "
        "brace): it is not stored\n";
    // clang-format off
    const Case cases[] = {
        {"update de.trvx empty.trvx -o de.trvx", 1, "trvx: empty.trvx holds no node: updating onto it would delete"},
        {"update de.trvx cut.trvx -o de.trvx", 1, "cut.trvx" + cutLine + "trvx: not writing de.trvx: the read of cut.trvx lost text"},
        {"update cut.trvx de.trvx -o cut.trvx", 1, "cut.trvx" + cutLine},
        {"fmt cut.trvx -o cut.trvx", 1, "cut.trvx" + cutLine},
        {"fmt - -o cut.trvx <cut.trvx", 1, "standard input" + cutLine},
        {"extract x.exe -o x.exe", 1, "trvx: x.exe is a host module: trvx does not write over one\n"},
        {"fmt de.trvx -o base.dll", 1, "trvx: base.dll is a host module"},
        {"extract --raw x.exe -o x.exe --force", 1, "trvx: x.exe is a host module"},
        {"fmt surplus.trvx", 1, "trvx: surplus.trvx:3:1: surplus '}' closes the root; reading stopped at line 4: List index out of bounds (-1)\n"},
        {"diff de.trvx surplus.trvx", 2, "trvx: surplus.trvx:3:1: surplus '}'"},
        {"fmt - <.", 1, "trvx: standard input: Is a directory\n"},
        {"dump x.exe", 0, ""},
        {"fmt cut.trvx", 0, "cut.trvx:5:3: warning: the end of the text cuts"},
    };
    // clang-format on
    for (const Case& c : cases) {
        const test::TTrvxResult r = test::RunTrvx(m_dir.Path(), c.args);
        EXPECT_EQ(r.status, c.status) << c.args << "\n" << r.err;
        EXPECT_EQ(r.err.substr(0, c.err.size()), c.err) << c.args;
        EXPECT_EQ(test::ReadBytes(m_dir / "de.trvx"), kTranslation) << c.args;
        EXPECT_EQ(test::ReadBytes(m_dir / "cut.trvx"), kCut) << c.args;
        EXPECT_EQ(test::ReadBytes(m_dir / "x.exe"), test::ReadBytes(kExamples / "Deutsch.exe"));
        EXPECT_EQ(test::ReadBytes(m_dir / "base.dll"), test::ReadBytes(kExamples / "Deutsch.exe"));
    }
    // A module is known by its signature, whatever its name, also on standard input.
    const std::string example = test::RunTrvx(m_dir.Path(), "fmt x.exe").out;
    EXPECT_EQ(test::RunTrvx(m_dir.Path(), "fmt - <base.dll").out, example);
    EXPECT_EQ(test::RunTrvx(m_dir.Path(), "update de.trvx base.dll -o de.trvx").status, 0);
    EXPECT_NE(test::ReadBytes(m_dir / "de.trvx").find("Form:frmMain"), std::string::npos);

    EXPECT_EQ(test::RunTrvx(m_dir.Path(), "fmt cut.trvx -o cut.trvx --force").status, 0);
    EXPECT_EQ(test::ReadBytes(m_dir / "cut.trvx"), "N {\r\n  a = b\r\n}\r\nM {\r\n}\r\n");
}

TEST_F(LossyRead, CheckReportsEachLossWithItsLine) {
    const test::TTrvxResult r = test::RunTrvx(m_dir.Path(), "check cut.trvx");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("line 5: the end of the text cuts this value off"), std::string::npos)
        << r.out;
}

// A write that fails is an error with a message: diff's 1 means "they differ".
TEST_F(LossyRead, AFailedWriteIsAnError) {
    struct Write {
        const char* args;
        int status;
    };
    for (const Write& w : {Write{"dump de.trvx", 1}, Write{"fmt de.trvx", 1},
                           Write{"diff de.trvx cut.trvx", 2}, Write{"check de.trvx", 1}}) {
        const fs::path err = m_dir / "err.txt";
        const std::string command = "cd \"" + m_dir.Path().string() +
                                    "\" && \"" TARVIN_TRVX_BIN "\" " + w.args +
                                    " >/dev/full 2>err.txt";
        const int rc = std::system(command.c_str());
        EXPECT_EQ(WIFEXITED(rc) ? WEXITSTATUS(rc) : -1, w.status) << w.args;
        EXPECT_NE(test::ReadBytes(err).find(
                      "trvx: Stream write error: standard output: No space left on device\n"),
                  std::string::npos)
            << w.args;
    }
}

} // namespace
} // namespace trvx
