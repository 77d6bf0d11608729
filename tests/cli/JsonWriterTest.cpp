#include "cli/report/JsonWriter.h"

#include <gtest/gtest.h>

namespace trvx::cli {
namespace {

// The same document in both layouts: empty and filled containers at each
// depth, every kind of value, a string that needs escaping.
TEST(JsonWriter, Layouts) {
    const struct {
        TJsonWriter::TLayout layout;
        std::string_view expected;
    } cases[] = {
        {TJsonWriter::TLayout::Compact, R"({"a":"x\"\u0001\u007f)"
                                        "\xEF\xBF\xBD"
                                        R"(","n":null,"sum":{"k":-3,"f":0.5000,"e":[]},)"
                                        R"("list":[{"b":true,"c":[1,2]},{}],"none":[]})"},
        {TJsonWriter::TLayout::Report, "{\n"
                                       "  \"a\": \"x\\\"\\u0001\\u007f\xEF\xBF\xBD\",\n"
                                       "  \"n\": null,\n"
                                       "  \"sum\": {\"k\": -3, \"f\": 0.5000, \"e\": []},\n"
                                       "  \"list\": [\n"
                                       "    {\"b\": true, \"c\": [1, 2]},\n"
                                       "    {}\n"
                                       "  ],\n"
                                       "  \"none\": []\n"
                                       "}"},
    };
    for (const auto& c : cases) {
        std::string out;
        TJsonWriter json(out, c.layout);
        json.StartObject();
        json.Key("a");
        json.String("x\"\x01\x7F\xFF");
        json.Key("n");
        json.Null();
        json.Key("sum");
        json.StartObject();
        json.Key("k");
        json.Int64(-3);
        json.Key("f");
        json.Fixed(0.5, 4);
        json.Key("e");
        json.StartArray();
        json.EndArray();
        json.EndObject();
        json.Key("list");
        json.StartArray();
        json.StartObject();
        json.Key("b");
        json.Bool(true);
        json.Key("c");
        json.StartArray();
        json.Int64(1);
        json.Int64(2);
        json.EndArray();
        json.EndObject();
        json.StartObject();
        json.EndObject();
        json.EndArray();
        json.Key("none");
        json.StartArray();
        json.EndArray();
        json.EndObject();
        EXPECT_EQ(out, c.expected);
    }
}

} // namespace
} // namespace trvx::cli
