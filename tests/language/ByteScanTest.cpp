#include "encoding/ByteScan.h"
#include "document/Tarvin.h"
#include "format/Writer.h"

#include <gtest/gtest.h>

#include <functional>

#include <random>
#include <string>
#include <vector>

namespace trvx {
namespace {

template <unsigned char... Marks> const char* NaiveFind(const char* p, const char* end) {
    while (p < end && !((static_cast<unsigned char>(*p) == Marks) || ...))
        ++p;
    return p;
}

// Every start offset and length over bytes that stress the word arithmetic:
// zero, control characters next to CR and LF, the marks themselves, and
// bytes with the high bit set (where a borrow could run into a neighbour).
// HasAny must agree too, at every length its overlapping loads cover.
template <unsigned char... Marks> void ExpectSameAsNaive(const std::string& bytes) {
    const char* base = bytes.data();
    for (std::size_t from = 0; from < bytes.size(); ++from)
        for (std::size_t to = from; to <= bytes.size(); ++to) {
            const char* naive = NaiveFind<Marks...>(base + from, base + to);
            ASSERT_EQ(FindAny<Marks...>(base + from, base + to), naive)
                << "from " << from << " to " << to;
            ASSERT_EQ(HasAny<Marks...>(base + from, base + to), naive != base + to)
                << "from " << from << " to " << to;
        }
}

TEST(ByteScan, FindsTheFirstMarkLikeAByteLoop) {
    const std::vector<std::string> cases = {
        "",
        "plain text without marks!",
        std::string("\x00\x01\x09\x0B\x0C\x0E\x1F\x20", 8) + "tab\tand\x0Bcontrols\r\n",
        "\x8D\x8A\xA2\xFB\xFD\xBD\xFF\x80\x81\x0D\x7B\x7D\x3D\x22\x0A",
        std::string("ab\x00{cd\x00}ef=\"gh\r\n", 15),
        "12345678{12345678}12345678=\"12345678\r12345678\n",
        "\x0D\x0D\x0A\x0A\x0C\x0E\x0C\x0E\x09\x7B\x7B\x7D",
    };
    for (const std::string& bytes : cases) {
        SCOPED_TRACE(bytes);
        ExpectSameAsNaive<'{', '}', '='>(bytes);
        ExpectSameAsNaive<'"', '\r', '\n'>(bytes);
        ExpectSameAsNaive<'"', '{', '}', '\r', '\n'>(bytes);
        ExpectSameAsNaive<'\r', '\n', '"', '{', '}'>(bytes);
        ExpectSameAsNaive<'\r', '\n'>(bytes);
    }
}

TEST(ByteScan, RandomBytesAgreeWithAByteLoop) {
    std::mt19937 rng(7);
    // Mostly bytes near the marks and the control range, some of any value.
    const std::string pool = std::string("\x00\x01\x09\x0A\x0B\x0C\x0D\x0E\x20", 9) +
                             "\"{}=ab\x80\x8A\x8D\xA2\xBB\xFD\xFF";
    for (int round = 0; round < 200; ++round) {
        std::string bytes(static_cast<std::size_t>(rng() % 40), '\0');
        for (char& c : bytes)
            c = rng() % 4 == 0 ? static_cast<char>(rng() % 256) : pool[rng() % pool.size()];
        ExpectSameAsNaive<'{', '}', '='>(bytes);
        ExpectSameAsNaive<'"', '{', '}', '\r', '\n'>(bytes);
        ExpectSameAsNaive<'"', '\r', '\n'>(bytes);
    }
}

// Control characters other than CR and LF look like line breaks to the
// word scan at first; the reader must read past them as ordinary bytes.
TEST(ReaderControlBytes, StayInsideTexts) {
    const std::string text = std::string("N {\r\n"
                                         "  a = b\x01\x02\x08\tc\x0B\x0C d\r\n"
                                         "  q = \"e\tf\x0Bg\"\r\n"
                                         "  l = {\"h\x0Ci\"\r\n"
                                         "       \"j\tk\"\r\n"
                                         "  }\r\n"
                                         "}\r\n");
    TTarvin tree;
    tree.LoadFromText(text);
    ASSERT_EQ(tree.Root().ChildCount(), 1);
    const TTarvinItem& n = tree.Root().GetChild(0);
    ASSERT_EQ(n.ValueCount(), 3);
    EXPECT_EQ(n.ValueText(0), "b\x01\x02\x08\tc\x0B\x0C d");
    EXPECT_EQ(n.ValueText(1), "e\tf\x0Bg");
    EXPECT_EQ(n.ValueText(2), "h\x0Ci\r\nj\tk");
    // A text with an inner control character but no mark is written bare.
    EXPECT_EQ(tree.SaveToText(), "N {\r\n"
                                 "  a = b\x01\x02\x08\tc\x0B\x0C d\r\n"
                                 "  q = e\tf\x0Bg\r\n"
                                 "  l = {\"h\x0Ci\"\r\n"
                                 "       \"j\tk\"\r\n"
                                 "  }\r\n"
                                 "}\r\n");
}

// A node that holds most of a file (STRINGS) is handed on in chunks like
// any other part, so the writer never holds much more than one chunk.
// However the text is spread, what one flush hands on stays near the chunk
// size: a node of many values, a value of many lines, one huge line.
TEST(WriterChunks, NoFlushGrowsToTheSizeOfOneNodeOrValue) {
    constexpr std::size_t kChunk = 1024;
    constexpr std::size_t kSlice = std::size_t{1} << 20; // the writer's slice of a long line
    std::string lines;
    for (int i = 0; i < 2000; ++i)
        lines += "Zeile " + std::to_string(i) + "\r\n";
    const std::string longLine(5 * kSlice + 7, 'x');
    const std::string quotedLine = " " + std::string(3 * kSlice, 'q') + "\"";
    struct Case {
        const char* name;
        std::size_t largestAllowed;
        std::function<void(TTarvinItem&)> fill;
    };
    const Case cases[] = {
        {"many values", kChunk + 64,
         [](TTarvinItem& n) {
             for (int i = 0; i < 2000; ++i)
                 n.AddValue("SMessage" + std::to_string(i), "Meldung " + std::to_string(i));
         }},
        {"many lines", kChunk + 64, [&](TTarvinItem& n) { n.AddValue("Items", lines); }},
        {"one long line", kChunk + kSlice + 64, [&](TTarvinItem& n) { n.AddValue("v", longLine); }},
        {"one long quoted line", kChunk + 2 * kSlice + 64,
         [&](TTarvinItem& n) { n.AddValue("v", quotedLine); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TTarvin tree;
        c.fill(tree.Root().AddChild("STRINGS"));
        std::string all;
        std::size_t largest = 0;
        TTextSink sink(
            [&](std::string_view bytes) {
                largest = std::max(largest, bytes.size());
                all += bytes;
            },
            kChunk);
        WriteTree(tree.Root(), sink);
        EXPECT_TRUE(all == tree.SaveToText());
        EXPECT_LT(largest, c.largestAllowed) << "one flush held " << largest << " bytes";
    }
}

} // namespace
} // namespace trvx
