#include "editing/SearchWalk.h"
#include "document/Tarvin.h"

#include "TestSupport.h"
#include "tests/support/FileOrder.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <random>
#include <string>
#include <vector>

namespace trvx {

void PrintTo(const TSearchMatch& match, std::ostream* out) {
    *out << "{node " << match.Node << ", value " << match.ValueIndex << "}";
}

namespace {

using test::TFileOrder;

// Nodes: 1 A, 2 A1, 3 B, 4 C, 5 D. Cp1252 bytes: E4 = ä, C4 = Ä.
const std::string kTree = test::Crlf("A {\n"
                                     "  k1 = alpha\n"
                                     "  k2 = beta\n"
                                     "  k3 = gamma\n"
                                     "  A1 {\n"
                                     "    k1 = beta\n"
                                     "  }\n"
                                     "}\n"
                                     "B {\n"
                                     "  Caption = {\"first\"\n"
                                     "             \"second line XYZ\"\n"
                                     "  }\n"
                                     "  Hint = \xE4ndern\n"
                                     "}\n"
                                     "C {\n"
                                     "}\n"
                                     "D {\n"
                                     "  k1 = alpha\n"
                                     "  k2 = x\n"
                                     "  Empty =\n"
                                     "}\n");

struct WalkCase {
    const char* name;
    TSearchKind kind;
    std::string text;
    bool down;
    bool ignoreCase;
    int node;
    int valueIndex;
    std::optional<TSearchMatch> expected;
};

TEST(SearchWalk, StartingPointsDirectionsAndMatchTest) {
    TTarvin language;
    language.LoadFromText(kTree);
    const TFileOrder order(language.Root());
    ASSERT_EQ(order.Count(), 5);
    const CodePage& cp1252 = CodePage::Get(1252);
    using M = TSearchMatch;
    const WalkCase cases[] = {
        {"item skips the selected node", skItem, "A", true, true, 1, -1, M{2, -1}},
        {"item: only match selected", skItem, "A1", true, true, 2, -1, std::nullopt},
        {"item up", skItem, "a", false, true, 2, -1, M{1, -1}},
        {"item without selection", skItem, "A", true, true, 0, -1, std::nullopt},
        {"item up does not wrap", skItem, "D", false, true, 1, -1, std::nullopt},
        {"item down does not wrap", skItem, "A", true, true, 5, -1, std::nullopt},
        {"value after the selected row", skValue, "beta", true, true, 1, 1, M{2, 0}},
        {"value from row 0 without selection", skValue, "beta", true, true, 1, -1, M{1, 1}},
        {"value skips only the selected row", skValue, "beta", true, true, 1, 0, M{1, 1}},
        {"value without a node", skValue, "beta", true, true, 0, -1, std::nullopt},
        {"up, no row: previous node from its end", skValue, "alpha", false, true, 5, -1, M{1, 0}},
        {"up, row 0: previous node", skValue, "alpha", false, true, 5, 0, M{1, 0}},
        {"up, row 1: tests row 0", skValue, "alpha", false, true, 5, 1, M{5, 0}},
        {"up scans later nodes from the last value", skValue, "gamma", false, true, 2, -1, M{1, 2}},
        {"up from a row beyond the end", skValue, "x", false, true, 5, 9, M{5, 1}},
        {"down from a row beyond the end", skValue, "beta", true, true, 1, 9, M{2, 0}},
        {"value down does not wrap", skValue, "alpha", true, true, 5, 0, std::nullopt},
        {"second line of a value", skValue, "XYZ", true, true, 1, -1, M{3, 0}},
        {"line break inside the text", skValue, "first\r\nsecond", true, false, 1, -1, M{3, 0}},
        {"case ignored", skValue, "xyz", true, true, 1, -1, M{3, 0}},
        {"case matched", skValue, "xyz", true, false, 1, -1, std::nullopt},
        {"non-ASCII, case ignored", skValue, "\xC4NDERN", true, true, 1, -1, M{3, 1}},
        {"non-ASCII, case matched", skValue, "\xC4NDERN", true, false, 1, -1, std::nullopt},
        {"non-ASCII, same bytes", skValue, "\xE4ndern", true, false, 1, -1, M{3, 1}},
        {"ident, case ignored", skValueIdent, "hint", true, true, 1, -1, M{3, 1}},
        {"ident, case matched", skValueIdent, "hint", true, false, 1, -1, std::nullopt},
        {"ident, not the text", skValueIdent, "alpha", true, true, 1, -1, std::nullopt},
        {"ident up", skValueIdent, "k1", false, true, 3, -1, M{2, 0}},
        {"empty text never matches", skValue, "", true, true, 1, -1, std::nullopt},
    };
    for (const auto& c : cases) {
        const TSearchRequest request{c.kind, c.text, c.down, c.ignoreCase, c.node, c.valueIndex};
        EXPECT_EQ(FindNextMatch(order, request, cp1252), c.expected) << c.name;
    }
}

// The plain definition: upper-case both, then look for the text.
bool NaiveMatch(std::string_view text, std::string_view candidate, bool ignoreCase,
                const CodePage& cp) {
    if (text.empty() || candidate.empty())
        return false;
    if (!ignoreCase)
        return candidate.find(text) != std::string_view::npos;
    return cp.Upper(candidate).find(cp.Upper(text)) != std::string::npos;
}

TEST(SearchWalk, MatcherCases) {
    struct Case {
        int codePage;
        std::string text;
        std::string candidate;
        bool ignoreCase;
        bool expected;
    };
    const Case cases[] = {
        {1252, "ABC", "xabcx", true, true},
        {1252, "ABC", "xabcx", false, false},
        {1252, "abc", "abc", true, true},
        {1252, "abc", "ab", true, false},
        {1252, "c", "abc", true, true},
        {1252, "a", "abc", false, true},
        {1252, "aab", "aaab", true, true},
        {1252, "abab", "abaabab", true, true},
        {1252, "\xFF", "\x9F", true, true},     // ÿ and Ÿ
        {1252, "\xDF", "STRASSE", true, false}, // ß has no single upper byte
        {1252, "\xE9t\xE9", "\xC9T\xC9", true, true},
        {1251, "\xEF\xF0\xE8", "\xCF\xD0\xC8\xC2\xC5\xD2", true, true}, // при / ПРИВЕТ
        {1251, "\xEF\xF0\xE8", "\xCF\xD0\xC8\xC2\xC5\xD2", false, false},
        {1252, "x", "", true, false},
    };
    for (const auto& c : cases) {
        const TTextMatcher matcher(c.text, c.ignoreCase, CodePage::Get(c.codePage));
        EXPECT_EQ(matcher.Matches(c.candidate), c.expected) << c.text << " in " << c.candidate;
    }
}

TEST(SearchWalk, MatcherAgreesWithUpperCasingBothSides) {
    // Few letters in both cases and a few high bytes, so that overlapping
    // and partial matches are common.
    const std::string alphabet = "aAbB\xE4\xC4\xFF\x9F\xDF";
    std::mt19937 random(42);
    auto make = [&](std::size_t maxLength) {
        std::string s(random() % (maxLength + 1), ' ');
        for (char& ch : s)
            ch = alphabet[random() % alphabet.size()];
        return s;
    };
    for (int cp : {1252, 1250, 1251}) {
        const CodePage& codePage = CodePage::Get(cp);
        for (int round = 0; round < 3000; ++round) {
            const std::string text = make(4);
            const std::string candidate = make(12);
            const bool ignoreCase = round % 2 == 0;
            ASSERT_EQ(TTextMatcher(text, ignoreCase, codePage).Matches(candidate),
                      NaiveMatch(text, candidate, ignoreCase, codePage))
                << cp << ": " << text << " in " << candidate;
        }
    }
}

} // namespace
} // namespace trvx
