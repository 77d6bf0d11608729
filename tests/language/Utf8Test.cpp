#include "encoding/Utf8.h"

#include <gtest/gtest.h>

#include <vector>

namespace trvx {
namespace {

// Each sequence decoded lenient and strict: what comes out and how far each
// read moves. A malformed lead moves one byte, so the next read resyncs.
TEST(Utf8, DecodesAndRejects) {
    struct Case {
        std::string_view text;
        std::vector<char32_t> lenient;
        std::vector<char32_t> strict;
    };
    const Case cases[] = {
        {"a\xC3\x84\xE2\x82\xAC\xF0\x9F\x98\x80",
         {'a', 0xC4, 0x20AC, 0x1F600},
         {'a', 0xC4, 0x20AC, 0x1F600}},
        {"\xC3", {0xFFFD}, {0xFFFD}},                     // cut at the end
        {"\xE2\x82", {0xFFFD, 0xFFFD}, {0xFFFD, 0xFFFD}}, // cut at the end
        {"\xC3x", {0xFFFD, 'x'}, {0xFFFD, 'x'}},          // no continuation
        {"\x80\xFF", {0xFFFD, 0xFFFD}, {0xFFFD, 0xFFFD}}, // stray bytes
        {"\xC1\x81", {'A'}, {0xFFFD}},                    // overlong
        {"\xED\xA0\x80", {0xD800}, {0xFFFD}},             // surrogate
        {"\xF4\x90\x80\x80", {0x110000}, {0xFFFD}},       // past U+10FFFF
    };
    for (const Case& c : cases) {
        for (const bool strict : {false, true}) {
            std::vector<char32_t> got;
            for (std::size_t pos = 0; pos < c.text.size();)
                got.push_back(strict ? NextValidUtf8(c.text, pos) : NextUtf8(c.text, pos));
            EXPECT_EQ(got, strict ? c.strict : c.lenient) << c.text << " strict " << strict;
        }
    }
}

TEST(Utf8, EncodesEveryLength) {
    for (const char32_t ch :
         {U'\x7F', U'\x80', U'\u07FF', U'\u0800', U'\uFFFF', U'\U00010000', U'\U0010FFFF'}) {
        std::string text;
        AppendUtf8(text, ch);
        std::size_t pos = 0;
        EXPECT_EQ(NextValidUtf8(text, pos), ch);
        EXPECT_EQ(pos, text.size());
        EXPECT_EQ(Utf8Length(text + "a"), 2u);
    }
}

// Every start and limit over bytes at the edges of each run: the word
// steps must stop where a byte loop stops.
TEST(Utf8, AsciiRunsEndWhereAByteLoopEnds) {
    const std::string bytes =
        std::string("ab\x1F\x20\x7E\x7F\x80\xFF\x00 0123456789\tx\xC3\x84", 24) +
        "long plain run of text\x7Fz\x01";
    for (const bool printable : {false, true})
        for (std::size_t pos = 0; pos <= bytes.size(); ++pos)
            for (std::size_t limit = pos; limit <= bytes.size(); ++limit) {
                std::size_t naive = pos;
                while (naive < limit) {
                    const auto b = static_cast<unsigned char>(bytes[naive]);
                    if (b >= 0x80 || (printable && (b < 0x20 || b == 0x7F)))
                        break;
                    ++naive;
                }
                ASSERT_EQ(AsciiRunEnd(bytes, pos, limit, printable), naive)
                    << pos << " " << limit << " " << printable;
            }
}

} // namespace
} // namespace trvx
