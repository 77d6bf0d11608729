#include "check/Stats.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace trvx {
namespace {

using test::Crlf;

TLanguageStats Stats(const std::string& mine, const std::string* base) {
    TTarvin t, b;
    t.LoadFromText(Crlf(mine));
    if (base)
        b.LoadFromText(Crlf(*base));
    return CollectStats(t, base ? &b : nullptr);
}

const std::string kMine = "v = root value\n"
                          "INFO {\n LangID = 1031\n Language = Deutsch\n}\n"
                          "OBJECTS {\n Form:a {\n  Caption = Haupt\n  Button:b {\n   Caption = OK\n"
                          "   Shortcut = Ctrl+O\n  }\n }\n Form:gone {\n }\n}\n"
                          "STRINGS {\n s1 = Datei %s\n s2 = %d\n}\n";

TEST(Stats, CountsNodesAndValuesPerSection) {
    const TLanguageStats s = Stats(kMine, nullptr);
    EXPECT_FALSE(s.HasBase);
    EXPECT_EQ(s.Nodes, 6);
    EXPECT_EQ(s.Values, 8); // with the root's value
    ASSERT_EQ(s.Sections.size(), 3u);
    EXPECT_EQ(s.Sections[0].Name, "INFO");
    EXPECT_EQ(s.Sections[0].Nodes, 1);
    EXPECT_EQ(s.Sections[0].Values, 2);
    EXPECT_EQ(s.Sections[1].Nodes, 4);
    EXPECT_EQ(s.Sections[1].Values, 3);
    EXPECT_EQ(s.Sections[2].Nodes, 1);
    EXPECT_EQ(s.Sections[2].Values, 2);
}

TEST(Stats, CoverageOfTheBase) {
    const std::string base = "v = root value\nw = other\n"
                             "INFO {\n LangID = 1033\n Language = English\n}\n"
                             "objects {\n FORM:A {\n  Caption = Main\n  Hint = Tip\n  Button:b {\n"
                             "   Caption = OK\n   Shortcut = Ctrl+O\n  }\n }\n Form:new {\n"
                             "  Caption = New\n }\n}\n"
                             "STRINGS {\n s1 = File %s\n s2 = %d\n s3 = More\n}\n"
                             "EXTRA {\n x = Words\n y = 12\n}\n";
    const TLanguageStats s = Stats(kMine, &base);
    ASSERT_TRUE(s.HasBase);
    // INFO: Language translated (LangID holds no letter).
    // OBJECTS: Caption Main translated, Hint missing, OK the same, Shortcut
    // left out, Form:new's Caption missing. STRINGS: s1 translated, s2 no
    // word, s3 missing. EXTRA: x missing. Root: v the same, w missing.
    ASSERT_EQ(s.Sections.size(), 4u);
    auto expect = [](const TCoverage& c, long long t, long long u, long long m) {
        EXPECT_EQ(c.Translated, t);
        EXPECT_EQ(c.Untranslated, u);
        EXPECT_EQ(c.Missing, m);
    };
    expect(s.Sections[0].Coverage, 1, 0, 0);
    expect(s.Sections[1].Coverage, 1, 1, 2);
    expect(s.Sections[2].Coverage, 1, 0, 1);
    EXPECT_EQ(s.Sections[3].Name, "EXTRA");
    EXPECT_FALSE(s.Sections[3].InTranslation);
    expect(s.Sections[3].Coverage, 0, 0, 1);
    expect(s.Coverage, 3, 2, 5);
    ASSERT_TRUE(s.Coverage.Share().has_value());
    EXPECT_DOUBLE_EQ(*s.Coverage.Share(), 3.0 / 10.0);
    EXPECT_FALSE(TCoverage{}.Share().has_value());
}

TEST(Stats, ManySiblingsMatchTheFirstOfTheirName) {
    std::string base = "S {\n";
    std::string mine = "S {\n";
    for (int i = 0; i < 100; ++i) {
        base += " k" + std::to_string(i) + " = Text\n";
        mine += " K" + std::to_string(i) + (i % 4 ? " = Text\n" : " = Anders\n");
    }
    base += " k7 = Second\n}\n";
    mine += "}\n";
    const TLanguageStats s = Stats(mine, &base);
    EXPECT_EQ(s.Coverage.Translated, 26); // the second k7 pairs with the first K7 too
    EXPECT_EQ(s.Coverage.Untranslated, 75);
    EXPECT_EQ(s.Coverage.Missing, 0);
}

} // namespace
} // namespace trvx
