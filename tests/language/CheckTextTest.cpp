#include "check/CheckText.h"

#include <gtest/gtest.h>

namespace trvx {
namespace {

struct AcceleratorCase {
    std::string caption;
    int position;
    int marks;
    bool loneAtEnd;
    bool loneBeforeBlank;
};

TEST(CheckText, Accelerators) {
    const AcceleratorCase cases[] = {
        {"", -1, 0, false, false},
        {"Open", -1, 0, false, false},
        {"&Open", 1, 1, false, false},
        {"Save &As", 6, 1, false, false},
        {"Drag && Drop", -1, 0, false, false},
        {"&&&Copy", 3, 1, false, false}, // a literal, then a mark
        {"&&", -1, 0, false, false},
        {"Open&", -1, 0, true, false},
        {"Open&&", -1, 0, false, false},
        {"Save & Exit", -1, 0, false, true},
        {"&Datei &\xD6"
         "ffnen",
         1, 2, false, false},
        {"&&x&", -1, 0, true, false},
        {"\xD6"
         "&ffnen",
         2, 1, false, false},
    };
    for (const auto& c : cases) {
        const TAccelerator a = FindAccelerator(c.caption);
        EXPECT_EQ(a.Position, c.position) << c.caption;
        EXPECT_EQ(a.Marks, c.marks) << c.caption;
        EXPECT_EQ(a.LoneAtEnd, c.loneAtEnd) << c.caption;
        EXPECT_EQ(a.LoneBeforeBlank, c.loneBeforeBlank) << c.caption;
    }
}

// Each placeholder as written=argument:format+letter.
std::string Keys(const TFormatScan& scan) {
    std::string out;
    for (const auto& p : scan.Placeholders)
        out += (out.empty() ? "" : " ") + std::string(p.Written) + "=" +
               std::to_string(p.Argument) + ":" + std::string(p.Format) + p.Letter;
    return out;
}

TEST(CheckText, PlaceholderScan) {
    struct Case {
        std::string text;
        std::string keys;
        int literals;
        std::vector<int> lone;
    };
    const Case cases[] = {
        {"no placeholders", "", 0, {}},
        {"File %s not found", "%s=0:s", 0, {}},
        {"%d of %d", "%d=0:d %d=1:d", 0, {}},
        {"%5.2f%%", "%5.2f=0:5.2f", 1, {}},
        {"%-10s|%05d", "%-10s=0:-10s %05d=1:05d", 0, {}},
        {"%1:s before %0:s", "%1:s=1:s %0:s=0:s", 0, {}},
        {"%1:s then %s", "%1:s=1:s %s=2:s", 0, {}}, // an index restarts the count
        {"%S and %X", "%S=0:s %X=1:x", 0, {}},      // the letter's case is not compared
        {"%*d", "%*d=1:*d", 0, {}},                 // the star takes argument 0
        {"%.*f %s", "%.*f=1:.*f %s=2:s", 0, {}},
        {"50% of all", "", 0, {2}}, // a blank is no flag
        {"100%", "", 0, {3}},
        {"20%ige", "", 0, {2}}, // i is no letter of the host's formatter
        {"%%d", "", 1, {}},
        {"%%%d", "%d=0:d", 1, {}},
        {"%12345678:s", "", 0, {0}}, // an absurd index is no placeholder
    };
    for (const auto& c : cases) {
        const TFormatScan scan = ScanFormat(c.text);
        EXPECT_EQ(Keys(scan), c.keys) << c.text;
        EXPECT_EQ(scan.LiteralPercents, c.literals) << c.text;
        EXPECT_EQ(scan.LonePercents, c.lone) << c.text;
    }
}

TEST(CheckText, PlaceholderComparison) {
    struct Case {
        std::string text, base;
        std::string missing, extra;
    };
    auto join = [](const std::vector<std::string_view>& list) {
        std::string out;
        for (auto s : list)
            out += (out.empty() ? "" : " ") + std::string(s);
        return out;
    };
    const Case cases[] = {
        {"Datei %s fehlt", "File %s missing", "", ""},
        {"Datei fehlt", "File %s missing", "%s", ""},
        {"%s: %s", "%s", "", "%s"},
        {"%d Fehler in %s", "%s has %d errors", "%s %d", "%d %s"}, // the order counts
        {"%1:d Fehler in %0:s", "%s has %d errors", "", ""},       // unless made explicit
        {"%.2f", "%5.2f", "%5.2f", "%.2f"},
        {"100%%", "100%%", "", ""},
        {"100 Prozent", "100%%", "", ""}, // a literal percent is not compared
        {"%S", "%s", "", ""},
    };
    for (const auto& c : cases) {
        const TPlaceholderDiff diff = ComparePlaceholders(ScanFormat(c.text), ScanFormat(c.base));
        EXPECT_EQ(join(diff.Missing), c.missing) << c.text << " / " << c.base;
        EXPECT_EQ(join(diff.Extra), c.extra) << c.text << " / " << c.base;
    }
}

TEST(CheckText, LineCounts) {
    EXPECT_EQ(LineCount(""), 0);
    EXPECT_EQ(LineCount("a"), 1);
    EXPECT_EQ(LineCount("a\r\nb"), 2);
    EXPECT_EQ(LineCount("a\r\n"), 2);
    EXPECT_EQ(LineCount("a\rb\nc"), 3);
    EXPECT_EQ(LineCount("\r\n\r\n"), 3);
}

TEST(CheckText, Blanks) {
    EXPECT_EQ(LeadingBlanks(" \tab "), " \t");
    EXPECT_EQ(TrailingBlanks(" \tab \r\n"), " \r\n");
    EXPECT_EQ(LeadingBlanks("ab"), "");
    EXPECT_TRUE(HasNonBlank(" a "));
    EXPECT_FALSE(HasNonBlank(" \t\r\n"));
    EXPECT_FALSE(HasNonBlank(""));
}

TEST(CheckText, LettersByCodePage) {
    const TLetterTable west(CodePage::Get(1252));
    const TLetterTable cyrillic(CodePage::Get(1251));
    EXPECT_TRUE(west.HasLetter("OK"));
    EXPECT_TRUE(west.HasLetter("\xC4")); // Ä
    EXPECT_FALSE(west.HasLetter("1.0 - 2"));
    EXPECT_TRUE(west.HasLetter("%d"));
    EXPECT_FALSE(west.HasWords("%d / %5.2f (%0:s)"));
    EXPECT_TRUE(west.HasWords("%d Dateien"));
    EXPECT_TRUE(west.HasWords("%sx"));
    EXPECT_TRUE(west.HasWords("50% mehr"));    // a lone percent is no placeholder
    EXPECT_FALSE(west.HasLetter("\xBD \xA9")); // ½ ©
    EXPECT_FALSE(west.HasLetter(""));
    EXPECT_TRUE(cyrillic.HasLetter("\xC4\xE0")); // Да
    EXPECT_FALSE(cyrillic.HasLetter("\xB9"));    // №
}

TEST(CheckText, NameHazards) {
    EXPECT_EQ(NameHazardOf("Button:btnOK"), TNameHazard::None);
    EXPECT_EQ(NameHazardOf(""), TNameHazard::None);
    EXPECT_EQ(NameHazardOf("a\"b"), TNameHazard::None); // quotes are read back as written
    EXPECT_EQ(NameHazardOf(" a"), TNameHazard::OuterBlanks);
    EXPECT_EQ(NameHazardOf("a\t"), TNameHazard::OuterBlanks);
    EXPECT_EQ(NameHazardOf("a{b"), TNameHazard::Brace);
    EXPECT_EQ(NameHazardOf("a}"), TNameHazard::Brace);
    EXPECT_EQ(NameHazardOf("a=b"), TNameHazard::Equals);
    EXPECT_EQ(NameHazardOf("z\r\n  d"), TNameHazard::LineBreak);
}

} // namespace
} // namespace trvx
