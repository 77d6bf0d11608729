#include "cli/CliIo.h"
#include "cli/Options.h"
#include "cli/report/JsonWriter.h"
#include "encoding/CodePage.h"
#include "encoding/TextEscape.h"
#include "encoding/Utf8.h"
#include "format/Writer.h"

#include <CLI/CLI.hpp>

#include <iostream>
#include <vector>

namespace trvx::cli {
namespace {

// The tree as JSON, its texts decoded through the code page as they are written.
class TDumpWriter {
public:
    TDumpWriter(TTextSink& sink, const CodePage& cp, bool bytes)
        : m_sink(sink), m_json(sink.Out(), TJsonWriter::TLayout::Compact), m_cp(cp),
          m_bytes(bytes) {}

    // Depth-first without recursion, so any nesting depth is written.
    void Tree(const TTarvinItem& root) {
        struct Frame {
            const TTarvinItem* node;
            std::size_t next;
        };
        m_json.StartObject();
        m_json.Key("codePage");
        Text(m_cp.Name());
        Values(root);
        m_json.Key("children");
        m_json.StartArray();
        std::vector<Frame> stack{{&root, 0}};
        while (!stack.empty()) {
            Frame& top = stack.back();
            const auto& children = top.node->Children();
            if (top.next == children.size()) {
                stack.pop_back();
                m_json.EndArray();
                m_json.EndObject();
                continue;
            }
            const auto& child = children[top.next++];
            m_json.StartObject();
            m_json.Key("name");
            Text(child.Name.View());
            Values(*child.Item);
            m_json.Key("children");
            m_json.StartArray();
            stack.push_back({child.Item.get(), 0});
            m_sink.FlushIfFull();
        }
        m_sink.Out() += '\n';
        m_sink.FlushNow();
    }

private:
    void Values(const TTarvinItem& item) {
        m_json.Key("values");
        m_json.StartArray();
        for (const auto& v : item.Values()) {
            m_json.StartObject();
            m_json.Key("ident");
            Text(v.Ident.View());
            m_json.Key("text");
            Text(v.Text.View());
            m_json.EndObject();
            m_sink.FlushIfFull(); // a node may hold much of the file
        }
        m_json.EndArray();
    }

    void Text(std::string_view s) {
        m_json.StringWith([&](std::string& out) { AppendText(out, s); });
    }

    void AppendText(std::string& out, std::string_view s) const {
        for (std::size_t pos = 0; pos < s.size();) {
            // Texts are mostly plain ASCII: copy its runs whole.
            std::size_t end = pos;
            while (end < s.size() && IsPlain(s[end]))
                ++end;
            out.append(s.data() + pos, end - pos);
            if (end == s.size())
                break;
            pos = end;
            const auto c = static_cast<unsigned char>(s[pos]);
            if (c >= 0x80) {
                // Whole characters: a double-byte page's trail byte may be a backslash.
                const char32_t ch = m_bytes ? char32_t(s[pos++] & 0xFF) : m_cp.NextChar(s, pos);
                // A byte the page leaves undefined shows as the escape of its stand-in.
                if (CodePage::IsUndefinedChar(ch))
                    AppendJsonEscape(out, ch);
                else
                    AppendUtf8(out, ch);
                continue;
            }
            ++pos;
            // The dump has always written DEL as it is.
            AppendJsonChar(out, c, false);
        }
    }

    static bool IsPlain(char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte >= 0x20 && byte < 0x80 && byte != '"' && byte != '\\';
    }

    TTextSink& m_sink;
    TJsonWriter m_json;
    const CodePage& m_cp;
    bool m_bytes;
};

struct TDumpOptions {
    std::string file;
    bool bytes = false;
    int codePage = 0;
};

void DeclareDump(CLI::App& app, TDumpOptions& o) {
    AddInputArgument(app, o.file, "FILE", "the file to read");
    app.add_flag("--bytes", o.bytes, "write every byte 0x80-0xFF as U+0080-U+00FF");
    AddCodePageOption(app, o.codePage);
}

int RunDump(const TDumpOptions& o) {
    const std::string& file = o.file;
    TTarvin& tree = ProcessTree();
    tree.SetCodePageOverride(o.codePage);
    LoadInput(tree, file);
    WarnAboutLosses({{file, tree}});
    TTextSink sink([](std::string_view bytes) {
        std::cout.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    });
    TDumpWriter(sink, tree.GetCodePage(), o.bytes).Tree(tree.Root());
    FlushStandardOutput();
    return 0;
}

const RegisterCommand
    reg({"dump", "print the tree as JSON",
         R"help(Prints the tree of FILE as JSON: {"values":[...],"children":[{"name":...,
"values":[{"ident":...,"text":...}],"children":[...]}]}. Texts are decoded
through the file's code page (from --codepage, else INFO's LangID, else
the locale), which "codePage" names. A byte the page leaves undefined is
written as \uef80-\uefff, the private-use character that stands for it.
--bytes writes every byte 0x80-0xFF as U+0080-U+00FF instead, so the
dump is exact whatever the code page.
)help",
         SetupOf(DeclareDump, RunDump)});

} // namespace
} // namespace trvx::cli
