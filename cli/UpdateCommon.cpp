#include "cli/UpdateCommon.h"

#include "cli/CliIo.h"
#include "cli/LoadWithBase.h"
#include "encoding/AsciiCase.h"
#include "format/ReadAside.h"
#include "format/Reader.h"
#include "update/UpdateMerge.h"
#include "update/UpdateReport.h"

#include <ostream>

namespace trvx::cli {

namespace {

// Passes a base's entries on to the merge and keeps in the base's root what
// the commands ask of a base besides: whether it holds any node, and its
// INFO values for the code page warning. That is the first node of the root
// and every later one named INFO, with their own values.
class TBaseFacts final : public TLanguageSink {
public:
    TBaseFacts(TLanguageSink& merge, TTarvinItem& root) : m_merge(merge), m_root(root) {}

    void OpenNode(std::string_view name) override {
        if (++m_depth == 2) {
            m_kept = m_root.ChildCount() == 0 || SameTextAscii(name, "INFO")
                         ? &m_root.AddChild(name)
                         : nullptr;
        }
        m_merge.OpenNode(name);
    }
    void Value(std::string_view ident, TStr text) override {
        if (m_depth == 2 && m_kept)
            m_kept->AddValue(ident, text.View());
        m_merge.Value(ident, std::move(text));
    }
    void CloseNode() override {
        --m_depth;
        m_merge.CloseNode();
    }

private:
    TLanguageSink& m_merge;
    TTarvinItem& m_root;
    int m_depth = 1; // the root is open from the start
    TTarvinItem* m_kept = nullptr;
};

} // namespace

const TTarvin& LoadAndUpdate(TTarvin& translation, const std::string& translationFile,
                             const std::string& baseFile, TUpdateLists& lists) {
    TTarvin& base = ProcessTree();
    TTextInput input;
    LoadBeside(translation, translationFile, baseFile,
               [&] { input = OpenTextInput(base, baseFile); });
    // Names fold by the translation's language, whatever the base says it is.
    // The base is a tree of the process, so it outlives the translation.
    const CodePage& cp = translation.GetCodePage();
    if (!input.Bytes && !input.File) { // a host module, read whole
        WarnAboutCodePage(base, baseFile);
        UpdateTo(base.Root(), translation.Root(), lists, cp, TBaseLife::OutlivesOpen);
        return base;
    }
    // A text is merged as it is read: no tree of the base is built. A file
    // is read in windows, so what is copied from it is copied, not borrowed.
    bool first = true;
    const auto read = [&](TLanguageSink& merge) {
        if (first) {
            first = false;
            // The file is parsed on the other core while its entries are
            // merged here; the facts are kept there too, and the base is
            // not touched here until the read is over.
            if (input.File) {
                ReadAside(
                    [&](TLanguageSink& sink) {
                        TBaseFacts facts(sink, base.Root());
                        base.ReadIntoSink(*input.File, facts);
                    },
                    merge);
            } else {
                TBaseFacts facts(merge, base.Root());
                base.ReadIntoSink(std::move(*input.Bytes), facts);
            }
        } else if (input.File) {
            ReadAside(
                [&](TLanguageSink& sink) {
                    TFileWindows again(baseFile);
                    ParseLanguageText(sink, again);
                },
                merge);
        } else {
            ParseLanguageText(merge, base.LoadedText());
        }
    };
    NamingReadErrors(baseFile, [&] {
        UpdateTo(read, translation.Root(), lists, cp,
                 input.File ? TBaseLife::MayBeFreed : TBaseLife::OutlivesOpen);
    });
    WarnAboutCodePage(base, baseFile);
    return base;
}

void PrintUpdateLines(std::ostream& out, const TTarvin& translation, const TUpdateLists& lists) {
    ForEachUpdateLine(translation.Root(), lists, translation.GetCodePage(),
                      [&](std::string_view line) { out << line << '\n'; });
}

} // namespace trvx::cli
