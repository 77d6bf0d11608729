#include "cli/CliIo.h"
#include "cli/Options.h"
#include "language/CodePage.h"
#include "language/Writer.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <iostream>
#include <memory>
#include <vector>

namespace trvx::cli {
namespace {

class JsonWriter {
public:
    JsonWriter(TTextSink& sink, const CodePage& cp, bool bytes)
        : m_sink(sink), m_out(sink.Out()), m_cp(cp), m_bytes(bytes) {}

    void String(std::string_view s) {
        m_out += '"';
        for (unsigned char c : s) {
            switch (c) {
            case '"':
                m_out += "\\\"";
                break;
            case '\\':
                m_out += "\\\\";
                break;
            case '\n':
                m_out += "\\n";
                break;
            case '\r':
                m_out += "\\r";
                break;
            case '\t':
                m_out += "\\t";
                break;
            default:
                if (c < 0x20) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", c);
                    m_out += buf;
                } else if (c < 0x80) {
                    m_out += static_cast<char>(c);
                } else {
                    AppendUtf8(m_out, m_bytes ? char32_t(c) : m_cp.Decode(c));
                }
            }
        }
        m_out += '"';
    }

    void Values(const TTarvinItem& item) {
        m_out += "\"values\":[";
        bool first = true;
        for (const auto& v : item.Values()) {
            m_out += first ? "{\"ident\":" : ",{\"ident\":";
            first = false;
            String(v.Ident.View());
            m_out += ",\"text\":";
            String(v.Text.View());
            m_out += '}';
            m_sink.FlushIfFull(); // a node may hold much of the file
        }
        m_out += ']';
    }

    // Depth-first without recursion, so any nesting depth is written.
    void Tree(const TTarvinItem& root) {
        struct Frame {
            const TTarvinItem* node;
            std::size_t next;
        };
        m_out += '{';
        Values(root);
        m_out += ",\"children\":[";
        std::vector<Frame> stack{{&root, 0}};
        while (!stack.empty()) {
            Frame& top = stack.back();
            const auto& children = top.node->Children();
            if (top.next == children.size()) {
                stack.pop_back();
                m_out += "]}";
                continue;
            }
            if (top.next > 0)
                m_out += ',';
            const auto& child = children[top.next++];
            m_out += "{\"name\":";
            String(child.Name.View());
            m_out += ',';
            Values(*child.Item);
            m_out += ",\"children\":[";
            stack.push_back({child.Item.get(), 0});
            m_sink.FlushIfFull();
        }
        m_out += '\n';
        m_sink.FlushNow();
    }

private:
    TTextSink& m_sink;
    std::string& m_out;
    const CodePage& m_cp;
    bool m_bytes;
};

int RunDump(const std::string& file, bool bytes) {
    TTarvin& tree = ProcessTree();
    LoadInput(tree, file);
    WarnAboutLosses({{file, tree}});
    TTextSink sink([](std::string_view bytes) {
        std::cout.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    });
    JsonWriter(sink, tree.GetCodePage(), bytes).Tree(tree.Root());
    FlushStandardOutput();
    return 0;
}

struct TDumpOptions {
    std::string file;
    bool bytes = false;
};

CommandRun SetupDump(CLI::App& app) {
    auto o = std::make_shared<TDumpOptions>();
    AddInputArgument(app, o->file, "FILE", "the file to read");
    app.add_flag("--bytes", o->bytes, "write every byte 0x80-0xFF as U+0080-U+00FF");
    return [o] { return RunDump(o->file, o->bytes); };
}

const RegisterCommand
    reg({"dump", "print the tree as JSON",
         "Prints the tree of FILE as JSON: {\"values\":[...],\"children\":[{\"name\":...,\n"
         "\"values\":[{\"ident\":...,\"text\":...}],\"children\":[...]}]}. Texts are decoded\n"
         "through the file's code page (from INFO's LangID, else the locale).\n"
         "--bytes writes every byte 0x80-0xFF as U+0080-U+00FF instead, so the\n"
         "dump is exact whatever the code page.\n",
         SetupDump});

} // namespace
} // namespace trvx::cli
