#include "TestSupport.h"
#include "format/FileWindows.h"
#include "format/ReadAside.h"
#include "tests/language/PeFixtures.h"
#include "tests/support/SplitRead.h"
#include "tree/Errors.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>

namespace trvx {
namespace {

using test::Crlf;
using test::Describe;

struct ReadCase {
    const char* name;
    std::string text;
    std::string tree; // as Describe prints it
};

void PrintTo(const ReadCase& c, std::ostream* os) {
    *os << c.name;
}

class ReadsAs : public testing::TestWithParam<ReadCase> {};

// Builds from a sink read the tree a load would have built.
class TTreeSink final : public TLanguageSink {
public:
    explicit TTreeSink(TTarvinItem& root) : m_open{&root} {}
    void OpenNode(std::string_view name) override {
        m_open.push_back(&m_open.back()->AddChild(name));
    }
    void Value(std::string_view ident, TStr text) override {
        m_open.back()->AddValue(ident, text.View());
    }
    void CloseNode() override { m_open.pop_back(); }
    bool AllClosed() const { return m_open.empty(); }

private:
    std::vector<TTarvinItem*> m_open;
};

std::string Losses(const TTarvin& t) {
    std::string out;
    for (const TReadLoss& loss : t.ReadLosses())
        out += DescribeReadLoss(loss) + " @" + std::to_string(loss.Offset) + ":" +
               std::to_string(loss.Line) + ":" + std::to_string(loss.Column) + "\n";
    return out;
}

TEST_P(ReadsAs, Tree) {
    TTarvin t;
    t.LoadFromText(GetParam().text);
    EXPECT_EQ(Describe(t.Root()), GetParam().tree);

    // Read into a sink, the same entries in the same order and the same losses.
    TTarvin s;
    TTarvinItem built;
    TTreeSink sink(built);
    const std::string& text = GetParam().text;
    TByteBuffer bytes(text.size());
    std::copy(text.begin(), text.end(), bytes.Data());
    s.ReadIntoSink(std::move(bytes), sink);
    EXPECT_EQ(Describe(built), GetParam().tree);
    EXPECT_TRUE(sink.AllClosed());
    EXPECT_EQ(s.Root().ChildCount(), 0);
    EXPECT_EQ(Losses(s), Losses(t));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Reader, ReadsAs, testing::Values(
    ReadCase{"Empty", "", ""},
    ReadCase{"OnlyBlanks", " \r\n\t \n", ""},
    ReadCase{"LastValueWithoutLineBreakIsLost", "N {\r\n a = b", "{N}\n"},
    ReadCase{"LastValueWithLineBreakIsKept", "N {\r\n a = b\r\n", "{N}\n  [a]=<b>\n"},
    ReadCase{"LfOnly", "N {\n a = b\n M {\n }\n}\n", "{N}\n  [a]=<b>\n  {M}\n"},
    ReadCase{"EqualsInText", "N {\r\n a = b = x\r\n}\r\n", "{N}\n  [a]=<b = x>\n"},
    ReadCase{"FourQuotes", "N {\r\n a = \"\"\"\"\r\n}\r\n", "{N}\n  [a]=<\">\n"},
    ReadCase{"TwoQuotes", "N {\r\n a = \"\"\r\n}\r\n", "{N}\n  [a]=<>\n"},
    ReadCase{"NothingAfterEquals", "N {\r\n a =\r\n}\r\n", "{N}\n  [a]=<>\n"},
    ReadCase{"EmptyList", "N {\r\n a = {}\r\n}\r\n", "{N}\n  [a]=<>\n"},
    ReadCase{"ListOfBareWords", "N {\r\n a = {x y}\r\n}\r\n", "{N}\n  [a]=<>\n"},
    ReadCase{"ListOfOne", "N {\r\n a = {\"x\"}\r\n}\r\n", "{N}\n  [a]=<x>\n"},
    ReadCase{"NestedList", "N {\r\n a = {{\"x\"} \"y\"}\r\n}\r\n", "{N}\n  [a]=<x\r\ny>\n"},
    ReadCase{"ListLinesAndQuotes", "N {\r\n a = {\"Red\"\r\n  \"Say \"\"hi\"\"\"\r\n }\r\n}\r\n",
             "{N}\n  [a]=<Red\r\nSay \"hi\">\n"},
    ReadCase{"QuoteBrokenByLineEnd", "N {\r\n a = \"  open text  \r\n}\r\n",
             "{N}\n  [a]=<open text>\n"},
    ReadCase{"QuotedStringAcrossLinesInList", "N {\r\n a = {\"x\r\ny\"}\r\n}\r\n", "{N}\n  [a]=<y>\n"},
    ReadCase{"BareValueAndBraceOnOneLine", "N { a = b }\r\n", "{N}\n  [a]=<b>\n"},
    ReadCase{"QuotedValueAndBraceOnOneLine", "N { a = \"b\" }\r\n", "{N}\n  [a]=<b>\n"},
    ReadCase{"TextAfterClosingQuote", "N {\r\n a = \"b\" z\r\n d = e\r\n}\r\n",
             "{N}\n  [a]=<b>\n  [z\r\n d]=<e>\n"},
    ReadCase{"StrayTextBeforeQuoteIsDropped", "N {\r\n a = xyz\"b\"\r\n}\r\n", "{N}\n  [a]=<b>\n"},
    ReadCase{"ValueBeforeFirstNode", "v = 1\r\nN {\r\n}\r\n", "[v]=<1>\n{N}\n"},
    ReadCase{"EmptyName", "{\r\n a = b\r\n}\r\n", "{}\n  [a]=<b>\n"},
    ReadCase{"ByteOrderMarkJoinsTheName", "\xEF\xBB\xBFN {\r\n}\r\n", "{\xEF\xBB\xBFN}\n"},
    ReadCase{"NulEndsTheText", std::string("N {\r\n a = b\r\n\0 c = d\r\n", 22), "{N}\n  [a]=<b>\n"},
    ReadCase{"UnclosedNodesStay", "A {\r\n B {\r\n  x = 1\r\n", "{A}\n  {B}\n    [x]=<1>\n"},
    ReadCase{"UnterminatedQuoteIsNotStored", "N {\r\n a = \"b", "{N}\n"},
    ReadCase{"SurplusBraceAtTheEnd", "N {\r\n}\r\n}\r\n", "{N}\n"},
    ReadCase{"HighBytesAreNotBlanks", "N {\r\n a = \xA0x\xA0\r\n}\r\n", "{N}\n  [a]=<\xA0x\xA0>\n"}
), [](const auto& row) { return row.param.name; });
// clang-format on

TEST(Reader, SurplusBraceBeforeMoreTextFailsAndKeepsWhatWasRead) {
    for (const char* rest : {"M {\r\n}\r\n", "}\r\n", "x = 1\r\n"}) {
        TTarvin t;
        try {
            t.LoadFromText(std::string("N {\r\n}\r\n}\r\n") + rest);
            ADD_FAILURE() << "no error before " << rest;
        } catch (const EListError& e) {
            EXPECT_STREQ(e.what(), "List index out of bounds (-1)");
        }
        EXPECT_EQ(Describe(t.Root()), "{N}\n");
        TTarvinItem built;
        TTreeSink sink(built);
        EXPECT_THROW(ParseLanguageText(sink, std::string("N {\r\n}\r\n}\r\n") + rest), EListError);
        EXPECT_EQ(Describe(built), "{N}\n");
    }
}

TEST(Reader, ALoadReplacesTheTreeButKeepsTheRoot) {
    TTarvin t;
    TTarvinItem* root = &t.Root();
    t.LoadFromText("A {\r\n}\r\n");
    t.LoadFromText("B {\r\n x = y\r\n}\r\n");
    EXPECT_EQ(&t.Root(), root);
    EXPECT_EQ(Describe(t.Root()), "{B}\n  [x]=<y>\n");
}

TEST(Reader, DeepNestingNeedsNoRecursion) {
    std::string text(300000, '{');
    TTarvin t;
    t.LoadFromText(text);
    const TTarvinItem* node = &t.Root();
    int depth = 0;
    while (node->ChildCount() == 1) {
        node = &node->GetChild(0);
        ++depth;
    }
    EXPECT_EQ(depth, 300000);

    // The writer's indentation grows with depth, so it is tried shallower.
    TTarvin shallow;
    shallow.LoadFromText(std::string(3000, '{'));
    TTarvin again;
    again.LoadFromText(shallow.SaveToText());
    EXPECT_EQ(Describe(again.Root()), Describe(shallow.Root()));
}

// The two-thread read must be the one-thread read wherever the split
// falls: inside names, values, quoted lines, after the root has closed.
TEST(Reader, TwoThreadsReadAsOneWhereverTheSplitFalls) {
    const std::string example =
        test::ReadBytes(std::filesystem::path(TARVIN_SOURCE_DIR) / "examples/Deutsch.trvx");
    const std::vector<std::string> texts = {
        "A {\r\n x = 1\r\n B {\r\n  y = 2\r\n }\r\n z = 3\r\n C {\r\n }\r\n}\r\nD {\r\n}\r\n",
        "A {\r\n l = {\r\n  \"B {\"\r\n  \"} x\"\r\n  }\r\n q = \"\"\"C {\r\n}\r\n",
        "A {\n B {\n C {\n x = 1\n }\n }\n y = 2\n}\nr = 1\nE {\n}\n",
        "N {\r\n}\r\n}\r\nM {\r\n}\r\n",
        "N {\r\n}\r\n}\r\n",
        "N {\r\n}\r\n}\r\nx = 1\r\n",
        "N {\r\n a = b\r\n}\r\n trailing",
        "N {\r\n M {\r\n a = \"open\r\n",
        "N {\r\n { \r\n = v\r\n }\r\n}\r\n}\r\n",
        "{{{{ a = 1\r\n}}",
    };
    for (const std::string& text : texts) {
        const std::string one = test::ReadPicture(text, std::nullopt);
        for (std::size_t split = 0; split <= text.size(); ++split)
            ASSERT_EQ(test::ReadPicture(text, split), one)
                << "split at " << split << " of " << text;
    }
    const std::string one = test::ReadPicture(example, std::nullopt);
    for (std::size_t split = 0; split <= example.size(); split += 7)
        ASSERT_EQ(test::ReadPicture(example, split), one) << "split at " << split;
}

// A file read in windows must read as its whole text wherever a window
// ends: inside a name, a CR LF, a doubled quote, a list, after the root has
// closed; with the same losses at the same lines and the same error.
TEST(Reader, WindowsReadAsTheWholeTextWhereverTheyEnd) {
    const auto read = [](const std::filesystem::path& file, std::size_t window) {
        TTarvin t;
        TTarvinItem built;
        TTreeSink sink(built);
        std::string error;
        try {
            if (window == 0) {
                const std::string text = test::ReadBytes(file);
                TByteBuffer bytes(text.size());
                std::copy(text.begin(), text.end(), bytes.Data());
                t.ReadIntoSink(std::move(bytes), sink);
            } else {
                TFileWindows windows(file.string(), window);
                t.ReadIntoSink(windows, sink);
            }
        } catch (const ESurplusBrace& e) {
            error = std::to_string(e.Brace.Line) + ":" + std::to_string(e.Brace.Column) + " " +
                    std::to_string(e.Stop.Line) + ":" + std::to_string(e.Stop.Column);
        }
        return Describe(built) + Losses(t) + error;
    };
    const std::string example =
        test::ReadBytes(std::filesystem::path(TARVIN_SOURCE_DIR) / "examples/Deutsch.trvx");
    const std::vector<std::string> texts = {
        "A {\r\n x = 1\r\n B {\r\n  y = \"a\"\"b\"\r\n }\r\n z = 3\r\n}\r\nD {\r\n}\r\n",
        "A {\r\n l = {\r\n  \"B {\"\r\n  \"} x\"\r\n  }\r\n q = \"\"\"C {\r\n}\r\n",
        "A {\r x = 1\r\r B {\r y = \"\"\r }\r}\r",
        "\xEF\xBB\xBFv = 1\nA {\n x = {\"1\"\n \"2\"}\n}\n trailing",
        "A {\r\n x = 1\r\n}\r\n" + std::string(1, '\0') + " rest\r\n",
        "A {\r\n x = 1\r\n" + std::string(2, '\0') + " " + std::string(1, '\0'),
        "N {\r\n}\r\n}\r\n\r\n  M {\r\n}\r\n",
        "N {\r\n M {\r\n a = \"open\r\n",
        "N {\r\n a = {\"b\"\r\n",
        "",
    };
    test::TScratchDir dir;
    const auto file = dir / "windows.trvx";
    for (const std::string& text : texts) {
        std::ofstream(file, std::ios::binary) << text;
        const std::string whole = read(file, 0);
        for (std::size_t window = 1; window <= text.size() + 1; ++window)
            ASSERT_EQ(read(file, window), whole) << "window " << window << " of " << text;
    }
    std::ofstream(file, std::ios::binary) << example;
    const std::string whole = read(file, 0);
    for (std::size_t window = 1; window <= 200; window += 3)
        ASSERT_EQ(read(file, window), whole) << "window " << window;
}

// Parsed on another thread and handed over in batches, a text reads as it
// does here: across batch ends, texts made for a value or borrowed, a read's
// error after the entries before it; and a sink that throws stops the read.
TEST(Reader, ReadAsideHandsOnWhatTheReadGives) {
    std::string many = "A {\r\n";
    for (int i = 0; i < 40000; ++i)
        many += " v" + std::to_string(i) + (i % 3 ? " = 1\r\n" : " = \"a\"\"b\"\r\n");
    many += " long = \"" + std::string(3u << 20, 'x') + "\"\r\n}\r\n";
    const std::vector<std::string> texts = {
        "A {\r\n x = 1\r\n B {\r\n  y = \"a\"\"b\"\r\n }\r\n}\r\nD {\r\n}\r\n",
        "N {\r\n}\r\n}\r\n\r\n  M {\r\n}\r\n",
        many,
        many + "}\r\n",
        "",
    };
    const auto read = [](const std::string& text, bool aside) {
        TTarvinItem built;
        TTreeSink sink(built);
        std::string error;
        const auto parse = [&](TLanguageSink& to) { ParseLanguageText(to, text); };
        try {
            aside ? ReadAside(parse, sink) : parse(sink);
        } catch (const std::exception& e) {
            error = e.what();
        }
        return Describe(built) + error;
    };
    for (const std::string& text : texts)
        ASSERT_EQ(read(text, true), read(text, false)) << text.substr(0, 40);

    class TFailing final : public TLanguageSink {
    public:
        void OpenNode(std::string_view) override {}
        void Value(std::string_view, TStr) override {
            if (++m_values == 20000)
                throw ETrvxError("sink failed");
        }
        void CloseNode() override {}

    private:
        int m_values = 0;
    } failing;
    EXPECT_THROW(ReadAside([&](TLanguageSink& to) { ParseLanguageText(to, many); }, failing),
                 ETrvxError);
}

} // namespace
} // namespace trvx
