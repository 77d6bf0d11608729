#include "exchange/Exchange.h"

#include <gtest/gtest.h>

#include <cstring>

namespace trvx {
namespace {

using exchange::ApplyImport;
using exchange::TImportPlan;

// Loads text with spans, sets value `index` of top-level node 0 to newText
// through the import's splice, and returns the bytes it would write.
std::string Spliced(const std::string& text, int index, const std::string& newText) {
    TTarvin tree;
    std::vector<TValueSpan> spans;
    TByteBuffer bytes(text.size());
    std::memcpy(bytes.Data(), text.data(), text.size());
    tree.LoadFromBuffer(std::move(bytes), &spans);
    TImportPlan plan;
    plan.Changes.push_back({"id", &tree.Root().GetChild(0), index, newText});
    const std::string out = ApplyImport(tree, spans, plan);
    EXPECT_EQ(tree.Root().GetChild(0).GetValue(index), newText);
    return out;
}

// Only the changed value's bytes change; they take the form the writer
// would give them at that place, and whatever stood around them stays.
TEST(ValueSplice, RewritesOneValueAndKeepsEveryOtherByte) {
    struct Case {
        const char* name;
        std::string text;
        int index;
        std::string value;
        std::string expected;
    };
    const Case cases[] = {
        {"canonical line", "N {\r\n  a = b\r\n  c = d\r\n}\r\n", 0, "x y",
         "N {\r\n  a = x y\r\n  c = d\r\n}\r\n"},
        {"odd layout elsewhere kept", "N{a=b\n  c  =  d\n}", 1, "e", "N{a=b\n  c  = e\n}"},
        {"bare value closed by its node's brace", "N { a = b }\r\n", 0, "x", "N { a = x }\r\n"},
        {"one line becomes a list", "N { a = b }\r\n", 0, "two\r\nlines",
         "N { a = {\"two\"\r\n         \"lines\"\r\n} }\r\n"},
        {"quotes and braces are quoted", "N {\r\n  a = b\r\n}\r\n", 0, "say \"{hi}\"",
         "N {\r\n  a = \"say \"\"{hi}\"\"\"\r\n}\r\n"},
        {"text after a quoted value stays out of it", "N {\r\n  a = \"b\" z\r\n  d = e\r\n}\r\n", 0,
         "x", "N {\r\n  a = \"x\" z\r\n  d = e\r\n}\r\n"},
        {"emptied after a quoted value", "N {\r\n  a = \"b\" z\r\n  d = e\r\n}\r\n", 0, "",
         "N {\r\n  a = \"\" z\r\n  d = e\r\n}\r\n"},
        {"list becomes one line", "N {\r\n  Items = {\"a\"\r\n           \"b\"\r\n  }\r\n}\r\n", 0,
         "c", "N {\r\n  Items = c\r\n}\r\n"},
        {"list keeps the writer's alignment",
         "N {\r\n  Items = {\"a\"\r\n           \"b\"\r\n  }\r\n}\r\n", 0, "a\r\nb\r\nc\r\n",
         "N {\r\n  Items = {\"a\"\r\n           \"b\"\r\n           \"c\"\r\n           \"\"\r\n  "
         "}\r\n}\r\n"},
        {"emptied line", "N {\r\n  a = b\r\n}\r\n", 0, "", "N {\r\n  a =\r\n}\r\n"},
        {"blank at the end is quoted", "N {\r\n  a = b\r\n}\r\n", 0, "b ",
         "N {\r\n  a = \"b \"\r\n}\r\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Spliced(c.text, c.index, c.value), c.expected) << c.name;
}

} // namespace
} // namespace trvx
