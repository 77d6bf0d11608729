#include "TestSupport.h"
#include "document/Tarvin.h"
#include "format/Reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace trvx {
namespace {

using namespace std::string_literals;
using test::Describe;

struct Loss {
    TReadLossKind kind;
    std::size_t line, column;
    bool operator==(const Loss&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Loss& l) {
    return os << static_cast<int>(l.kind) << "@" << l.line << ":" << l.column;
}

struct Case {
    const char* name;
    std::string text;
    std::vector<Loss> losses;
};

using K = TReadLossKind;

// clang-format off
const Case kCases[] = {
    {"Clean", "N {\r\n  a = b\r\n}\r\n", {}},
    {"CleanLfOnlyAndUnclosedNode", "N {\n  a = b\n", {}},
    {"NulPaddingLosesNothing", "N {\r\n}\r\n\0\0 \r\n"s, {}},
    {"NulCutsText", "N {\r\n  a = b\r\n}\r\n\0M {\r\n}\r\n"s, {{K::Nul, 4, 1}}},
    {"LastValueWithoutLineBreak", "N {\r\n  a = b\r\n  c = d", {{K::UnterminatedValue, 3, 3}}},
    {"UnterminatedList", "N {\r\n  Items = {\"x\"\r\n", {{K::UnterminatedValue, 2, 3}}},
    {"UnterminatedQuote", "N {\r\n  a = \"b", {{K::UnterminatedValue, 2, 3}}},
    {"UnterminatedWithoutIdent", "N {\r\n  = b", {{K::UnterminatedValue, 2, 3}}},
    {"RootValues", "a = 1\r\nN {\r\n}\r\nb = 2\r\n", {{K::RootValue, 1, 1}, {K::RootValue, 4, 1}}},
    {"TrailingText", "N {\r\n}\r\nM\r\n", {{K::TrailingText, 3, 1}}},
    {"Utf8Bom", "\xEF\xBB\xBFN {\r\n}\r\n", {{K::Utf8Bom, 1, 1}}},
    {"Utf16", "\xFF\xFEN\0 \0{\0"s, {{K::Utf16Bom, 1, 1}, {K::TrailingText, 1, 1}, {K::Nul, 1, 4}}},
    {"LoneCrIsALineBreak", "N {\r  a = b\r}\r\rx = 1", {{K::UnterminatedValue, 5, 1}}},
};
// clang-format on

// The report says where the reader's rules dropped something, and the tree
// is what the reader stores without it.
TEST(ReadLoss, ReportsWhereAndWhyAReadSkippedText) {
    for (const Case& c : kCases) {
        TTarvin reported;
        reported.LoadFromText(c.text);
        std::vector<Loss> losses;
        for (const TReadLoss& l : reported.ReadLosses())
            losses.push_back({l.Kind, l.Line, l.Column});
        EXPECT_EQ(losses, c.losses) << c.name;

        const std::string beforeNul = c.text.substr(0, c.text.find('\0'));
        TTarvin plain;
        ParseLanguageText(plain.Root(), beforeNul);
        EXPECT_EQ(Describe(reported.Root()), Describe(plain.Root())) << c.name;
    }
    TTarvin again;
    again.LoadFromText("N {\r\n}\r\n");
    EXPECT_TRUE(again.ReadLosses().empty()) << "a load forgets the losses of the one before";
}

TEST(ReadLoss, SurplusBraceTellsWhereItIs) {
    TTarvin t;
    try {
        t.LoadFromText("N {\r\n}\r\n  }\r\nM {\r\n}\r\n");
        FAIL() << "no error";
    } catch (const ESurplusBrace& e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (-1)");
        EXPECT_EQ(e.Brace.Line, 3u);
        EXPECT_EQ(e.Brace.Column, 3u);
        EXPECT_EQ(e.Stop.Line, 4u);
        EXPECT_EQ(e.Stop.Column, 3u);
    }
}

} // namespace
} // namespace trvx
