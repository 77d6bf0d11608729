// Inputs no one meant to write: each has its expected result, and none may
// crash, read out of bounds or recurse without bound.

#include "PeFixtures.h"
#include "TestSupport.h"
#include "tests/support/TreeShape.h"
#include "tree/Errors.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <sstream>
#include <string>

namespace trvx {
namespace {

using test::Describe;
using test::Shape;

// Loads text; true when it loaded without the surplus-brace error, which is
// the only error the reader has.
bool Load(TTarvin& tree, std::string_view text) {
    try {
        tree.LoadFromText(text);
        return true;
    } catch (const EListError& e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (-1)");
        return false;
    }
}

// What the writer makes of a tree reads back as that tree (its root values
// aside), and writing that again gives the same bytes.
void ExpectRoundTrip(const TTarvin& tree) {
    const std::string text = tree.SaveToText();
    TTarvin back;
    ASSERT_TRUE(Load(back, text));
    ASSERT_EQ(Shape(back.Root()), Shape(tree.Root(), {.RootValues = false}));
    ASSERT_EQ(back.SaveToText(), text);
}

// The tree a text gives, also when the text ends in a surplus brace.
std::string TreeOf(const std::string& text) {
    TTarvin tree;
    Load(tree, text);
    return Describe(tree.Root());
}

std::string StripClosings(std::string shape) {
    while (!shape.empty() && shape.back() == '}')
        shape.pop_back();
    return shape;
}

TEST(BadInput, EveryTruncationOfTheExamplesLoadsWhatCameBeforeTheCut) {
    for (const char* name : {"examples/Deutsch.trvx", "examples/English-2.trvx"}) {
        SCOPED_TRACE(name);
        const std::string full = test::ReadBytes(std::string(TARVIN_SOURCE_DIR) + "/" + name);
        ASSERT_GT(full.size(), 1000u);
        TTarvin whole;
        ASSERT_TRUE(Load(whole, full));
        const std::string fullShape = Shape(whole.Root());
        for (std::size_t cut = 0; cut <= full.size(); ++cut) {
            SCOPED_TRACE("cut at " + std::to_string(cut));
            TTarvin t;
            ASSERT_TRUE(Load(t, std::string_view(full).substr(0, cut)));
            // A value, name or ident is taken only once it is complete, so the
            // cut tree is the whole one up to some point, its open nodes closed.
            // Unless the cut splits a doubled quote: its first half then reads
            // as the closing quote, and the value ends there.
            const bool splitQuote = cut > 0 && full[cut - 1] == '"' && full[cut] == '"';
            if (!splitQuote) {
                ASSERT_TRUE(fullShape.starts_with(StripClosings(Shape(t.Root()))));
            }
            ExpectRoundTrip(t);
        }
    }
}

TEST(BadInput, RandomBytesLoadOrFailWithTheListErrorAndWriteBackFaithfully) {
    std::mt19937 rng(20240611);
    const std::string marks = "{}=\"\r\n \tab";
    int failed = 0;
    for (int i = 0; i < 3000; ++i) {
        std::string text(std::uniform_int_distribution<int>(0, 300)(rng), '\0');
        for (char& c : text) {
            const unsigned r = rng();
            c = (r & 1) ? marks[(r >> 1) % marks.size()] : static_cast<char>(r >> 8);
        }
        SCOPED_TRACE(testing::PrintToString(text));
        TTarvin t;
        failed += Load(t, text) ? 0 : 1;
        ExpectRoundTrip(t);
    }
    EXPECT_GT(failed, 0); // the surplus-brace path was taken
}

struct SmallCase {
    const char* name;
    std::string text;
    bool loads;
    std::string tree; // as Describe prints it
};

void PrintTo(const SmallCase& c, std::ostream* os) {
    *os << c.name;
}

class SmallFile : public testing::TestWithParam<SmallCase> {};

// Through a real file, over a tree that held something before.
TEST_P(SmallFile, LoadsAsExpected) {
    test::TScratchDir dir;
    const std::string path = (dir / "f.trvx").string();
    test::WriteBytes(path, GetParam().text);
    TTarvin t;
    t.LoadFromText("Old {\r\n  v = 1\r\n}\r\n");
    bool loaded = true;
    try {
        t.LoadFromFile(path);
    } catch (const EListError& e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (-1)");
        loaded = false;
    }
    EXPECT_EQ(loaded, GetParam().loads);
    EXPECT_EQ(Describe(t.Root()), GetParam().tree);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(BadInput, SmallFile, testing::Values(
    SmallCase{"ZeroBytes", "", true, ""},
    SmallCase{"OnlyAClosingBrace", "}", true, ""},
    SmallCase{"AClosingBraceAndBlanks", "}\r\n \t\r\n", true, ""},
    SmallCase{"AClosingBraceAndStrayWords", "} some words", true, ""},
    SmallCase{"TwoClosingBraces", "}}", false, ""},
    SmallCase{"AClosingBraceThenAValue", "}\r\nv = 1\r\n", false, ""},
    SmallCase{"OnlyAnOpeningBrace", "{", true, "{}\n"},
    SmallCase{"OnlyEquals", "=", true, ""},
    SmallCase{"OnlyAQuote", "\"", true, ""},
    SmallCase{"NulFirst", std::string("\0N {\r\n}\r\n", 9), true, ""},
    SmallCase{"NulBetweenValues", std::string("N {\r\n  a = b\r\n\0  c = d\r\n}\r\n", 26), true,
              "{N}\n  [a]=<b>\n"},
    SmallCase{"NulInsideAQuotedValue", std::string("N {\r\n  a = \"x\0y\"\r\n}\r\n", 21), true,
              "{N}\n"},
    SmallCase{"NulInsideAList", std::string("N {\r\n  a = {\"x\"\0\"y\"}\r\n}\r\n", 25), true,
              "{N}\n"}
), [](const auto& row) { return row.param.name; });
// clang-format on

TEST(BadInput, AnEmptyTreeWritesAnEmptyFile) {
    test::TScratchDir dir;
    const std::string path = (dir / "empty.trvx").string();
    TTarvin t;
    t.LoadFromText("}");
    t.SaveToFile(path);
    EXPECT_EQ(test::ReadBytes(path), "");
}

TEST(BadInput, EmptyViewsAreEmptyTexts) {
    TTarvin t;
    t.LoadFromText(std::string_view());
    EXPECT_EQ(t.Root().ChildCount(), 0);
    TTarvinItem& n = t.Root().AddChild(std::string_view());
    n.AddValue(std::string_view(), std::string_view());
    n.SetValue(0, std::string_view());
    EXPECT_EQ(t.SaveToText(), " {\r\n   =\r\n}\r\n");
}

constexpr int kDeep = 300000;

std::string DeepText(int depth) {
    std::string text;
    text.reserve(static_cast<std::size_t>(depth) * 16);
    for (int i = 0; i < depth; ++i)
        text += "N {\r\nv = " + std::to_string(i % 10) + "\r\n";
    for (int i = 0; i < depth; ++i)
        text += "}\r\n";
    return text;
}

TEST(BadInput, DeepNestingIsReadWrittenDumpedAndFreedWithoutRecursion) {
    const std::string text = DeepText(kDeep);
    {
        TTarvin t;
        ASSERT_TRUE(Load(t, text));
        EXPECT_EQ(test::Depth(t.Root()), std::size_t{kDeep});
        // Unclosed, the nodes stay as read.
        TTarvin open;
        ASSERT_TRUE(Load(open, std::string_view(text).substr(0, text.find('}'))));
        EXPECT_EQ(Shape(open.Root()), Shape(t.Root()));
        // A load replaces a deep tree with another one.
        ASSERT_TRUE(Load(t, text));
    } // and both go here

    // The writer indents every line by its depth, so its output grows with
    // the square of the depth: write a shallower one.
    TTarvin t;
    ASSERT_TRUE(Load(t, DeepText(3000)));
    ExpectRoundTrip(t);

    test::TScratchDir dir;
    const std::string path = (dir / "deep.trvx").string();
    test::WriteBytes(path, text);
    const std::string command = std::string("\"") + TARVIN_TRVX_BIN + "\" dump \"" + path +
                                "\" > \"" + (dir / "deep.json").string() + "\"";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const std::string json = test::ReadBytes(dir / "deep.json");
    std::string closings;
    for (int i = 0; i <= kDeep; ++i)
        closings += "]}";
    EXPECT_TRUE(json.ends_with(closings + "\n"));
}

// A value of many megabytes in each of its forms: read, stored and written
// back in one pass (a quadratic step would not finish here).
TEST(BadInput, AHugeValueReadsAndWritesBackWhole) {
    constexpr std::size_t kBare = std::size_t{64} << 20;
    constexpr std::size_t kOther = std::size_t{16} << 20;
    std::string bare(kBare, 'x');
    for (std::size_t i = 7; i < kBare; i += 9)
        bare[i] = ' ';
    std::string quoted(kOther, 'q');
    for (std::size_t i = 0; i < kOther; i += 101)
        quoted[i] = '"';
    quoted.front() = ' ';
    std::string lines(kOther, 'l');
    for (std::size_t i = 50; i + 1 < kOther; i += 80)
        lines.replace(i, 2, "\r\n");

    for (const std::string* value : {&bare, &quoted, &lines}) {
        TTarvin t;
        t.Root().AddChild("N").AddValue("v", *value);
        const std::string text = t.SaveToText();
        ASSERT_GT(text.size(), value->size());
        TTarvin back;
        ASSERT_TRUE(Load(back, text));
        ASSERT_EQ(back.Root().ChildCount(), 1);
        ASSERT_EQ(back.Root().GetChild(0).ValueCount(), 1);
        ASSERT_TRUE(back.Root().GetChild(0).ValueText(0) == *value);
        ASSERT_TRUE(back.SaveToText() == text);
    }
}

TEST(BadInput, EveryByteInNamesIdentsAndTextsSurvivesAWriteAndARead) {
    for (int b = 1; b < 256; ++b) {
        const char c = static_cast<char>(b);
        SCOPED_TRACE("byte " + std::to_string(b));
        TTarvin t;
        if (c != '{' && c != '}' && c != '=') {
            TTarvinItem& n = t.Root().AddChild(std::string("N") + c + "M");
            n.AddValue(std::string("I") + c + "J", "v");
            t.Root().AddChild(std::string(1, c)).AddValue(std::string(1, c), "w");
        }
        TTarvinItem& texts = t.Root().AddChild("T");
        for (const std::string& text :
             {std::string(1, c), std::string("a") + c, std::string(1, c) + "a",
              std::string("a") + c + "b", std::string(3, c)})
            texts.AddValue("v", text);
        const std::string written = t.SaveToText();
        TTarvin back;
        ASSERT_TRUE(Load(back, written));
        ASSERT_EQ(Shape(back.Root()), Shape(t.Root(), {.TrimNames = true, .CrlfTexts = true}));
        if (b >= 128) { // written as it is, never converted
            EXPECT_NE(written.find(std::string("a") + c + "b"), std::string::npos);
        }
    }
}

// What the reader makes of each byte inside a bare value, a quoted value,
// a node name and an ident. Most bytes are kept; the reader's marks act.
TEST(BadInput, EveryByteInsideAValueLineOrANameReadsAsTheRulesSay) {
    for (int b = 1; b < 256; ++b) {
        const char c = static_cast<char>(b);
        SCOPED_TRACE("byte " + std::to_string(b));
        const std::string s(1, c);
        const bool lineBreak = c == '\r' || c == '\n';
        const std::string kept = "{N}\n  [v]=<a" + s + "b>\n";

        std::string bare = TreeOf("N {\r\n  v = a" + s + "b\r\n}\r\n");
        const std::string bareWant = lineBreak || c == '}' ? "{N}\n  [v]=<a>\n"
                                     : c == '"'            ? "{N}\n  [v]=<b>\n"
                                     : c == '{'            ? "{N}\n  [v]=<>\n"
                                                           : kept;
        EXPECT_EQ(bare, bareWant);

        std::string quoted = TreeOf("N {\r\n  v = \"a" + s + "b\"\r\n}\r\n");
        EXPECT_EQ(quoted, lineBreak || c == '"' ? "{N}\n  [v]=<a>\n" : kept);

        std::string named = TreeOf("N" + s + "M {\r\n  I" + s + "J = v\r\n}\r\n");
        const std::string namedWant = c == '{'   ? "{N}\n  {M}\n    {I}\n      [J]=<v>\n"
                                      : c == '}' ? ""
                                      : c == '=' ? "[N]=<>\n"
                                                 : "{N" + s + "M}\n  [I" + s + "J]=<v>\n";
        EXPECT_EQ(named, namedWant);
    }
}

} // namespace
} // namespace trvx
