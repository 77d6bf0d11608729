// The JSON peer: what a tool built on RapidJSON does to a translation held
// as JSON. Reads the whole file, parses it into a DOM, writes it out again.
//
//   json_roundtrip IN.json OUT.json

#include <rapidjson/document.h>
#include <rapidjson/filewritestream.h>
#include <rapidjson/writer.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: json_roundtrip IN.json OUT.json\n");
        return 2;
    }
    std::FILE* in = std::fopen(argv[1], "rb");
    if (!in) {
        std::perror(argv[1]);
        return 1;
    }
    std::string text;
    std::fseek(in, 0, SEEK_END);
    text.resize(static_cast<std::size_t>(std::ftell(in)));
    std::fseek(in, 0, SEEK_SET);
    const std::size_t got = std::fread(text.data(), 1, text.size(), in);
    std::fclose(in);
    if (got != text.size()) {
        std::fprintf(stderr, "%s: short read\n", argv[1]);
        return 1;
    }

    rapidjson::Document doc;
    doc.Parse(text.data(), text.size());
    if (doc.HasParseError()) {
        std::fprintf(stderr, "%s: parse error at %zu\n", argv[1], doc.GetErrorOffset());
        return 1;
    }

    std::FILE* out = std::fopen(argv[2], "wb");
    if (!out) {
        std::perror(argv[2]);
        return 1;
    }
    static char buffer[1 << 16];
    rapidjson::FileWriteStream stream(out, buffer, sizeof buffer);
    rapidjson::Writer<rapidjson::FileWriteStream> writer(stream);
    doc.Accept(writer);
    stream.Flush();
    return std::fclose(out) == 0 ? 0 : 1;
}
