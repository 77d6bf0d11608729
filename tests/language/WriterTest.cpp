#include "TestSupport.h"
#include "format/Quoting.h"
#include "tree/Errors.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <unistd.h>

namespace trvx {
namespace {

using test::Crlf;
using test::Describe;

const std::string kWorkedExample = Crlf(R"(INFO {
  Language = Deutsch
  LangID = 1031
  Version = 2.0
}
OBJECTS {
  Form:frmAbout {
    Caption = About
    Button:btnOK {
      Caption = OK
      Hint = " Close this window "
    }
    List:lstColours {
      Items = {"Red"
               "Green"
               "Say ""hi"""
      }
    }
  }
}
STRINGS {
  Msg1 = "Press {F1} for help"
  Msg2 =
  Msg3 = A = B
}
)");

TEST(Writer, WorkedExampleComesOutByteForByte) {
    TTarvin t;
    TTarvinItem& info = t.Root().AddChild("INFO");
    info.AddValue("Language", "Deutsch");
    info.AddValue("LangID", "1031");
    info.AddValue("Version", "2.0");
    TTarvinItem& form = t.Root().AddChild("OBJECTS").AddChild("Form:frmAbout");
    form.AddValue("Caption", "About");
    TTarvinItem& ok = form.AddChild("Button:btnOK");
    ok.AddValue("Caption", "OK");
    ok.AddValue("Hint", " Close this window ");
    form.AddChild("List:lstColours").AddValue("Items", "Red\r\nGreen\r\nSay \"hi\"");
    TTarvinItem& strings = t.Root().AddChild("STRINGS");
    strings.AddValue("Msg1", "Press {F1} for help");
    strings.AddValue("Msg2", "");
    strings.AddValue("Msg3", "A = B");
    EXPECT_EQ(t.SaveToText(), kWorkedExample);

    TTarvin back;
    back.LoadFromText(kWorkedExample);
    EXPECT_EQ(Describe(back.Root()), Describe(t.Root()));
    EXPECT_EQ(back.SaveToText(), kWorkedExample);
}

TEST(Writer, ValueForms) {
    struct Case {
        std::string text, line;
    };
    const Case cases[] = {
        {"", "  v ="},
        {"plain", "  v = plain"},
        {"A = B", "  v = A = B"},
        {"in\tner", "  v = in\tner"},
        {" lead", "  v = \" lead\""},
        {"trail\t", "  v = \"trail\t\""},
        {"say \"x\"", "  v = \"say \"\"x\"\"\""},
        {"{F1}", "  v = \"{F1}\""},
        {"a}", "  v = \"a}\""},
        {"\xE4", "  v = \xE4"},
        {"a\r\nb", "  v = {\"a\"\r\n       \"b\"\r\n  }"},
        {"a\nb\rc", "  v = {\"a\"\r\n       \"b\"\r\n       \"c\"\r\n  }"},
        {"a\r\n", "  v = {\"a\"\r\n       \"\"\r\n  }"},
        {"\r\n", "  v = {\"\"\r\n       \"\"\r\n  }"},
    };
    for (const auto& c : cases) {
        TTarvin t;
        t.Root().AddChild("N").AddValue("v", c.text);
        EXPECT_EQ(t.SaveToText(), "N {\r\n" + c.line + "\r\n}\r\n") << c.text;
    }
}

TEST(Writer, RootValuesAndEmptyTreesWriteNothing) {
    TTarvin t;
    EXPECT_EQ(t.SaveToText(), "");
    t.LoadFromText("v = 1\r\n");
    EXPECT_EQ(t.Root().ValueCount(), 1);
    EXPECT_EQ(t.SaveToText(), "");
}

TEST(Quoting, EscapeAndUnescape) {
    struct Case {
        std::string in, escaped, unescaped;
    };
    const Case cases[] = {
        {"plain", "plain", "plain"},
        {"a\"b", "a\"\"b", "a\"b"},
        {"{x}", "{x}", "{x}"},
        {"\"\"\"\"", "\"\"\"\"\"\"\"\"", "\"\""},
        {"\"\"\"", "\"\"\"\"\"\"", "\"\""},
    };
    for (const auto& c : cases) {
        std::string e, u;
        AppendEscaped(e, c.in);
        EXPECT_EQ(e, c.escaped) << c.in;
        AppendUnescaped(u, c.in);
        EXPECT_EQ(u, c.unescaped) << c.in;
    }
}

// What "reading back" promises for a tree: names and idents trimmed, lone
// CR or LF inside texts turned into CR LF.
std::string Expected(const TTarvinItem& item) {
    TTarvinItem copy;
    struct Walk {
        static void Do(const TTarvinItem& from, TTarvinItem& to) {
            for (const auto& v : from.Values()) {
                std::string t, s = v.Text.Str();
                for (std::size_t i = 0; i < s.size(); ++i) {
                    if (s[i] == '\r' || s[i] == '\n') {
                        t += "\r\n";
                        if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n')
                            ++i;
                    } else {
                        t += s[i];
                    }
                }
                to.AddValue(std::string(Trim(v.Ident.View())), t);
            }
            for (const auto& c : from.Children())
                Do(*c.Item, to.AddChild(std::string(Trim(c.Name.View()))));
        }
    };
    Walk::Do(item, copy);
    return Describe(copy);
}

TEST(Writer, RandomTreesReadBackAsPromised) {
    std::mt19937 rng(20261208);
    const std::string alphabet = "abcXYZ \t\"{}=\r\n\x80\xE4\xFF\x01:&%";
    auto text = [&](std::size_t maxLen, bool forName) {
        std::string s;
        std::size_t n = rng() % (maxLen + 1);
        for (std::size_t i = 0; i < n; ++i) {
            char c = alphabet[rng() % alphabet.size()];
            if (forName && (c == '{' || c == '}' || c == '=' || c == '"' || c == '\r' || c == '\n'))
                c = 'n';
            s += c;
        }
        return s;
    };
    for (int round = 0; round < 300; ++round) {
        TTarvin t;
        std::vector<TTarvinItem*> nodes{&t.Root()};
        for (int i = 0; i < 20; ++i) {
            TTarvinItem* parent = nodes[rng() % nodes.size()];
            if (rng() % 3 == 0 && parent != &t.Root())
                parent->AddValue(text(6, true) + "v", text(12, false));
            else
                nodes.push_back(&parent->AddChild("n" + text(6, true)));
        }
        TTarvin back;
        back.LoadFromText(t.SaveToText());
        ASSERT_EQ(Describe(back.Root()), Expected(t.Root())) << t.SaveToText();
    }
}

class FileTest : public testing::Test {
protected:
    // One folder per case and process: ctest runs the cases side by side.
    std::string dir = testing::TempDir() + "trvx_file_test_" +
                      testing::UnitTest::GetInstance()->current_test_info()->name() + "_" +
                      std::to_string(::getpid()) + "/";
    void SetUp() override {
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    std::vector<std::string> Files() const {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(dir))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(FileTest, SaveAndLoadAFile) {
    TTarvin t;
    t.LoadFromText(kWorkedExample);
    t.SaveToFile(dir + "de.trvx");
    EXPECT_EQ(Read(dir + "de.trvx"), kWorkedExample);
    TTarvin back;
    back.LoadFromFile(dir + "de.trvx");
    EXPECT_EQ(Describe(back.Root()), Describe(t.Root()));
    EXPECT_EQ(Files(), std::vector<std::string>{"de.trvx"});
}

TEST_F(FileTest, AMissingFileRaisesTheOpenErrorAndLeavesTheTree) {
    TTarvin t;
    t.LoadFromText("A {\r\n}\r\n");
    try {
        t.LoadFromFile(dir + "missing.trvx");
        ADD_FAILURE();
    } catch (const EFOpenError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Cannot open file \"" + dir + "missing.trvx\". No such file or directory");
    }
    EXPECT_EQ(Describe(t.Root()), "{A}\n");
}

TEST_F(FileTest, AFailedSaveKeepsTheOldFile) {
    TTarvin t;
    t.LoadFromText(kWorkedExample);
    std::filesystem::create_directory(dir + "sub");
    { std::ofstream(dir + "sub/old.trvx") << "old"; }
    std::filesystem::permissions(dir + "sub", std::filesystem::perms::owner_read |
                                                  std::filesystem::perms::owner_exec);
    bool root = geteuid() == 0;
    if (!root) {
        EXPECT_THROW(t.SaveToFile(dir + "sub/old.trvx"), EFCreateError);
        EXPECT_EQ(Read(dir + "sub/old.trvx"), "old");
    }
    std::filesystem::permissions(dir + "sub", std::filesystem::perms::owner_all);

    // The target a directory.
    try {
        t.SaveToFile(dir + "sub");
        ADD_FAILURE();
    } catch (const EFCreateError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot create file \"" + dir + "sub\". Is a directory");
    }
    // A folder that does not exist.
    EXPECT_THROW(t.SaveToFile(dir + "nowhere/x.trvx"), EFCreateError);
    EXPECT_EQ(Files(), std::vector<std::string>{"sub"});
}

TEST_F(FileTest, ASymbolicLinkStaysAndItsTargetIsReplaced) {
    { std::ofstream(dir + "real.trvx") << "old"; }
    std::filesystem::permissions(dir + "real.trvx", std::filesystem::perms(0640));
    std::filesystem::create_symlink("real.trvx", dir + "link.trvx");
    TTarvin t;
    t.LoadFromText(kWorkedExample);
    t.SaveToFile(dir + "link.trvx");
    EXPECT_TRUE(std::filesystem::is_symlink(dir + "link.trvx"));
    EXPECT_EQ(Read(dir + "real.trvx"), kWorkedExample);
    EXPECT_EQ(std::filesystem::status(dir + "real.trvx").permissions(),
              std::filesystem::perms(0640));
    EXPECT_EQ(Files(), (std::vector<std::string>{"link.trvx", "real.trvx"}));
}

TEST(Writer, AFailingStreamRaisesTheWriteError) {
    TTarvin t;
    t.LoadFromText(kWorkedExample);
    std::ofstream full("/dev/full");
    ASSERT_TRUE(full.is_open());
    try {
        t.SaveToStream(full);
        ADD_FAILURE();
    } catch (const EWriteError& e) {
        EXPECT_STREQ(e.what(), "Stream write error");
    }
}

} // namespace
} // namespace trvx
