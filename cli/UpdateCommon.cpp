#include "cli/UpdateCommon.h"

#include "cli/CliIo.h"
#include "cli/LoadWithBase.h"
#include "encoding/AsciiCase.h"
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
    std::optional<TByteBuffer> text;
    LoadBeside(translation, translationFile, baseFile,
               [&] { text = ReadTextInput(base, baseFile); });
    // Names fold by the translation's language, whatever the base says it is.
    // The base is a tree of the process, so it outlives the translation.
    const CodePage& cp = translation.GetCodePage();
    if (!text) { // a host module, read whole
        WarnAboutCodePage(base, baseFile);
        UpdateTo(base.Root(), translation.Root(), lists, cp, TBaseLife::OutlivesOpen);
        return base;
    }
    // A text is merged as it is read: no tree of the base is built.
    bool first = true;
    NamingReadErrors(baseFile, [&] {
        UpdateTo(
            [&](TLanguageSink& merge) {
                if (first) {
                    first = false;
                    TBaseFacts facts(merge, base.Root());
                    base.ReadIntoSink(std::move(*text), facts);
                } else {
                    ParseLanguageText(merge, base.LoadedText());
                }
            },
            translation.Root(), lists, cp, TBaseLife::OutlivesOpen);
    });
    WarnAboutCodePage(base, baseFile);
    return base;
}

void PrintUpdateLines(std::ostream& out, const TTarvin& translation, const TUpdateLists& lists) {
    ForEachUpdateLine(translation.Root(), lists, translation.GetCodePage(),
                      [&](std::string_view line) { out << line << '\n'; });
}

} // namespace trvx::cli
