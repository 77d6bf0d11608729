#include "cli/ManPage.h"
#include "tests/cli/TrvxRun.h"
#include "tests/language/PeFixtures.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <sstream>

namespace trvx {
namespace {

namespace fs = std::filesystem;

using Result = test::TTrvxResult;

const std::string kText = "N {\r\n  a = b\r\n}\r\n";

struct Case {
    const char* args;
    int status;
    const char* out; // standard output, or its start when it ends in "..."
};

TEST(Options, AreReadAsPeopleTypeThem) {
    test::TScratchDir dir;
    test::WriteBytes(dir.Path() / "--help", kText);
    test::WriteBytes(dir.Path() / "in.trvx", kText);
    // clang-format off
    const Case cases[] = {
        {"fmt -- --help", 0, "N {\r\n  a = b\r\n}\r\n"},
        {"fmt --output=out.trvx in.trvx", 0, ""},
        {"fmt -o -x in.trvx", 0, ""}, // the option takes the word as its value
        {"fmt -o '' in.trvx", 2, ""},
        {"check in.trvx --base=''", 2, ""},
        {"check in.trvx --format=json", 0, "{\n..."},
        {"check in.trvx --format xml", 2, ""},
        {"fmt in.trvx extra", 2, ""},
        {"--version", 0, "trvx 0.1.0\n"},
        {"help fmt", 0, "usage: trvx fmt FILE..."},
        {"help frob", 2, ""},
        {"frob", 2, ""},
        {"", 2, ""},
    };
    // clang-format on
    for (const Case& c : cases) {
        const Result r = test::RunTrvx(dir.Path(), c.args);
        EXPECT_EQ(r.status, c.status) << c.args << "\n" << r.err;
        const std::string_view expected = c.out;
        if (expected.ends_with("...")) {
            EXPECT_TRUE(r.out.starts_with(expected.substr(0, expected.size() - 3))) << c.args;
        } else {
            EXPECT_EQ(r.out, expected) << c.args;
        }
        // A usage error says what is wrong and how the command is used.
        if (c.status == 2) {
            EXPECT_NE(r.err.find("usage: trvx"), std::string::npos) << c.args << "\n" << r.err;
        }
    }
    EXPECT_EQ(test::ReadBytes(dir.Path() / "out.trvx"), kText);
    EXPECT_EQ(test::ReadBytes(dir.Path() / "-x"), kText);
    EXPECT_EQ(test::RunTrvx(dir.Path(), "help update").out,
              test::RunTrvx(dir.Path(), "update --help").out);
}

std::set<std::string> OptionsIn(const std::string& text) {
    static const std::regex option(R"((^|[\s\[])(--?[a-z][a-z-]*))");
    std::set<std::string> found;
    for (std::sregex_iterator it(text.begin(), text.end(), option), end; it != end; ++it)
        found.insert((*it)[2]);
    return found;
}

// Every command's usage line, as its help prints it, is the README's line
// for it and names the options of the built man page's synopsis.
TEST(Options, HelpReadmeAndManPageAgree) {
    test::TScratchDir dir;
    const fs::path source(TARVIN_SOURCE_DIR);
    const std::string readme = test::ReadBytes(source / "README.md");
    std::string man = test::ReadBytes(TARVIN_MAN_PAGE);
    man = std::regex_replace(man, std::regex(R"(\\-)"), "-");
    const std::string synopsis = man.substr(0, man.find(".SH DESCRIPTION"));

    std::istringstream overview(test::RunTrvx(dir.Path(), "--help").out);
    int commands = 0;
    for (std::string line; std::getline(overview, line);) {
        std::smatch m;
        if (!std::regex_match(line, m, std::regex(R"(  ([a-z]+) +\S.*)")) || m[1] == "help")
            continue;
        ++commands;
        const std::string name = m[1];
        const std::string help = test::RunTrvx(dir.Path(), "help " + name).out;
        const std::string usage = help.substr(7, help.find('\n') - 7); // after "usage: "
        EXPECT_TRUE(readme.find("\n" + usage + "  ") != std::string::npos ||
                    readme.find("\n" + usage + "\n") != std::string::npos)
            << "README lacks the line: " << usage;
        const std::size_t at = synopsis.find(".B trvx " + name + "\n");
        ASSERT_NE(at, std::string::npos) << "the man page's synopsis lacks " << name;
        const std::string entry = synopsis.substr(at, synopsis.find(".br", at) - at);
        std::set<std::string> documented = OptionsIn(entry);
        std::set<std::string> parsed = OptionsIn(usage);
        EXPECT_EQ(documented, parsed) << name;
    }
    EXPECT_GE(commands, 7);
}

TEST(Options, ManPageShowsEachCommandOnce) {
    CLI::App root;
    CLI::App* fmt = root.add_subcommand("fmt");
    std::string out, format;
    bool force = false;
    fmt->add_option("FILE", out)->required();
    fmt->add_option("-o,--output", out)->type_name("OUT");
    fmt->add_option("--format", format)->type_name("text|json");
    fmt->add_flag("--force", force);
    const std::string both = "@SYNOPSIS fmt@\n.SH COMMANDS\n@USAGE fmt@\n";
    EXPECT_EQ(cli::ManPage(root, both, "1.0"),
              ".B trvx fmt\n.I file\n.RB [ \\-o\n.IR out ]\n.RB [ \\-\\-format\n"
              ".BR text | json ]\n.RB [ \\-\\-force ]\n.SH COMMANDS\n"
              ".BI \"fmt \" \"file\" \" \\fR[\\fP\\-o \" \"out\" "
              "\"\\fR]\\fP \\fR[\\fP\\-\\-format text\\fR|\\fPjson\\fR]\\fP "
              "\\fR[\\fP\\-\\-force\\fR]\\fP\"\n");
    const std::string broken[] = {"@USAGE fmt@\n", "@SYNOPSIS fmt@\n", both + both,
                                  both + "@USAGE frob@\n"};
    for (const std::string& page : broken)
        EXPECT_THROW(cli::ManPage(root, page, "1.0"), std::runtime_error) << page;
}

} // namespace
} // namespace trvx
