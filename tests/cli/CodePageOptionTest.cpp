#include "tests/cli/TrvxRun.h"
#include "tests/language/PeFixtures.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace trvx {
namespace {

// A Russian text behind a LangID Windows does not know: the locale's page
// is a guess, --codepage sets it right, and every decoding command takes it
// for its translation.
TEST(CodePageOption, NamesThePageAndOverridesTheGuess) {
    setenv("LC_ALL", "C", 1); // the locale's guess is then 1252
    test::TScratchDir dir;
    test::WriteBytes(dir.Path() / "ru.trvx",
                     "INFO {\r\n  LangID = 4660\r\n}\r\nS {\r\n  a = \xCF\xF0\xE8\r\n}\r\n");
    test::WriteBytes(dir.Path() / "en.trvx", "INFO {\r\n  LangID = 1033\r\n}\r\n");
    struct Case {
        std::string args;
        int status;
        std::string out; // a part of standard output
        std::string err; // a part of standard error
    };
    const Case cases[] = {
        {"dump ru.trvx", 0, R"({"codePage":"windows-1252","values":[])",
         "trvx: warning: ru.trvx: LangID 4660 is not a Windows language id"},
        {"dump --codepage 1251 ru.trvx", 0, "\"text\":\"\xD0\x9F\xD1\x80\xD0\xB8\"", ""},
        {"stats --codepage=1251 ru.trvx --format json", 0, "\"codePage\": \"windows-1251\"", ""},
        {"check ru.trvx --codepage 1253", 0, "(windows-1253)", ""},
        {"diff ru.trvx en.trvx --codepage 932", 1, "", ""},
        {"update ru.trvx en.trvx --dry-run --codepage 874", 0, "", "trvx update:"},
        {"dump --codepage 437 ru.trvx", 2, "", "code page '437' is not supported"},
    };
    for (const Case& c : cases) {
        const test::TTrvxResult r = test::RunTrvx(dir.Path(), c.args);
        EXPECT_EQ(r.status, c.status) << c.args << "\n" << r.err;
        EXPECT_NE(r.out.find(c.out), std::string::npos) << c.args << "\n" << r.out;
        EXPECT_NE(r.err.find(c.err), std::string::npos) << c.args << "\n" << r.err;
        if (c.args.find("--codepage") != std::string::npos) {
            EXPECT_EQ(r.err.find("LangID 4660"), std::string::npos) << c.args;
        }
    }
}

} // namespace
} // namespace trvx
