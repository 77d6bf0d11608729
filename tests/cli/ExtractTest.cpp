#include "tests/cli/TrvxRun.h"
#include "tests/language/PeFixtures.h"

#include <gtest/gtest.h>

namespace trvx {
namespace {

namespace fs = std::filesystem;

const fs::path kExamples = fs::path(TARVIN_SOURCE_DIR) / "examples";

using Result = test::TTrvxResult;

Result Trvx(const test::TScratchDir& dir, const std::string& args) {
    return test::RunTrvx(dir.Path(), args);
}

class Extract : public testing::Test {
protected:
    void SetUp() override {
        fs::copy_file(test::PeFixture("gnu", "nul.exe"), m_dir / "nul.exe");
        fs::copy_file(test::PeFixture("gnu", "others.exe"), m_dir / "others.exe");
        fs::copy_file(kExamples / "Deutsch.trvx", m_dir / "lang.trvx");
        fs::copy_file(kExamples / "Deutsch.exe", m_dir / "Deutsch.exe");
        test::WriteBytes(m_dir / "text.exe", "INFO {\r\n}\r\n");
    }
    test::TScratchDir m_dir;
};

TEST_F(Extract, ModuleReadsLikeItsLanguageFile) {
    for (const char* command : {"dump", "fmt"}) {
        const Result fromModule = Trvx(m_dir, std::string(command) + " Deutsch.exe");
        const Result fromFile = Trvx(m_dir, std::string(command) + " lang.trvx");
        EXPECT_EQ(fromModule.status, 0) << command;
        EXPECT_EQ(fromModule.out, fromFile.out)
            << command << ": examples/Deutsch.exe is stale, run: make examples/Deutsch.exe";
        EXPECT_EQ(fromModule.err, "") << command;
    }
    const Result extracted = Trvx(m_dir, "extract Deutsch.exe");
    EXPECT_EQ(extracted.status, 0);
    EXPECT_EQ(extracted.out, Trvx(m_dir, "fmt lang.trvx").out);
}

TEST_F(Extract, RawKeepsTheBytesAsStored) {
    using namespace std::string_literals;
    const std::string stored = "First {\r\n  v = 1\r\n}\r\n\0Second {\r\n}\r\n"s;
    EXPECT_EQ(Trvx(m_dir, "extract --raw nul.exe -o raw.trvx").status, 0);
    EXPECT_EQ(test::ReadBytes(m_dir / "raw.trvx"), stored);
    EXPECT_EQ(Trvx(m_dir, "extract nul.exe -o text.trvx").status, 0);
    EXPECT_EQ(test::ReadBytes(m_dir / "text.trvx"), "First {\r\n  v = 1\r\n}\r\n");
}

struct Failure {
    std::string args;
    std::string message;
};

TEST_F(Extract, FailuresAreReportedAndWriteNothing) {
    // clang-format off
    const Failure failures[] = {
        {"fmt text.exe", "trvx: text.exe is not a host module\n"},
        {"dump missing.exe", "trvx: Cannot open file \"" + (m_dir / "missing.exe").string() + "\". No such file or directory\n"},
        {"extract lang.trvx -o out.trvx", "trvx: lang.trvx is not a host module\n"},
        {"extract missing.exe", "trvx: Cannot open file \"" + (m_dir / "missing.exe").string() + "\". No such file or directory\n"},
        {"extract others.exe -o out.trvx", "trvx: others.exe: Resource Tarvin not found\n"},
        {"extract --raw others.exe -o out.trvx", "trvx: others.exe: Resource Tarvin not found\n"},
        {"dump others.exe", "trvx: others.exe: Resource Tarvin not found\n"},
    };
    // clang-format on
    for (const Failure& f : failures) {
        const Result r = Trvx(m_dir, f.args);
        EXPECT_EQ(r.status, 1) << f.args;
        EXPECT_EQ(r.err, f.message) << f.args;
        EXPECT_EQ(r.out, "") << f.args;
        EXPECT_FALSE(fs::exists(m_dir / "out.trvx")) << f.args;
    }
}

} // namespace
} // namespace trvx
