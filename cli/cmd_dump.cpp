#include "cli/CliIo.h"
#include "cli/Options.h"
#include "encoding/CodePage.h"
#include "encoding/Utf8.h"
#include "format/Writer.h"

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
        for (std::size_t pos = 0; pos < s.size();) {
            const auto c = static_cast<unsigned char>(s[pos]);
            if (c >= 0x80) {
                // Whole characters: a double-byte page's trail byte may be a backslash.
                const char32_t ch = m_bytes ? char32_t(s[pos++] & 0xFF) : m_cp.NextChar(s, pos);
                // A byte the page leaves undefined shows as the escape of its stand-in.
                if (CodePage::IsUndefinedChar(ch))
                    Escape(ch);
                else
                    AppendUtf8(m_out, ch);
                continue;
            }
            ++pos;
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
                    Escape(c);
                } else {
                    m_out += static_cast<char>(c);
                }
            }
        }
        m_out += '"';
    }

    void Escape(char32_t ch) {
        char buf[8];
        std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned>(ch));
        m_out += buf;
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
        m_out += "{\"codePage\":";
        String(m_cp.Name());
        m_out += ',';
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

struct TDumpOptions {
    std::string file;
    bool bytes = false;
    int codePage = 0;
};

int RunDump(const TDumpOptions& o) {
    const std::string& file = o.file;
    TTarvin& tree = ProcessTree();
    tree.SetCodePageOverride(o.codePage);
    LoadInput(tree, file);
    WarnAboutLosses({{file, tree}});
    TTextSink sink([](std::string_view bytes) {
        std::cout.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    });
    JsonWriter(sink, tree.GetCodePage(), o.bytes).Tree(tree.Root());
    FlushStandardOutput();
    return 0;
}

CommandRun SetupDump(CLI::App& app) {
    auto o = std::make_shared<TDumpOptions>();
    AddInputArgument(app, o->file, "FILE", "the file to read");
    app.add_flag("--bytes", o->bytes, "write every byte 0x80-0xFF as U+0080-U+00FF");
    AddCodePageOption(app, o->codePage);
    return [o] { return RunDump(*o); };
}

const RegisterCommand
    reg({"dump", "print the tree as JSON",
         "Prints the tree of FILE as JSON: {\"values\":[...],\"children\":[{\"name\":...,\n"
         "\"values\":[{\"ident\":...,\"text\":...}],\"children\":[...]}]}. Texts are decoded\n"
         "through the file's code page (from --codepage, else INFO's LangID, else\n"
         "the locale), which \"codePage\" names. A byte the page leaves undefined is\n"
         "written as \\uef80-\\uefff, the private-use character that stands for it.\n"
         "--bytes writes every byte 0x80-0xFF as U+0080-U+00FF instead, so the\n"
         "dump is exact whatever the code page.\n",
         SetupDump});

} // namespace
} // namespace trvx::cli
