// Reader, writer, reader again. The second tree must be the first one except
// for what the text form cannot carry:
//   - the root's own values are not written;
//   - a line break in a text (CR LF, lone CR, lone LF) comes back as CR LF;
//   - names and idents come back trimmed. A name or ident holding '{', '}',
//     '=' or NUL cannot come back at all; the reader never makes one, and the
//     built trees below leave those bytes out.
// For trees the reader made (names already trimmed, texts with CR LF breaks
// only) that means: equal apart from the root's values, and the second
// writing is byte for byte the first. Trees built straight from the input
// also cover what the reader never makes: untrimmed names, lone CR and LF,
// blanks at either end of texts, NUL in texts.

#include "FuzzCheck.h"
#include "document/Tarvin.h"
#include "tests/support/SplitRead.h"
#include "tests/support/TreeShape.h"
#include "tree/Errors.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace trvx;
using trvx::test::FirstDifference;
using trvx::test::Shape;
using trvx::test::TShapeOptions;

bool ReaderShaped(std::string_view name) {
    return name == Trim(name) && name.find_first_of(std::string_view("{}=\0", 4)) == name.npos;
}

// What the reader gives: trimmed names without structure marks, texts
// without NUL whose line breaks are all CR LF.
void CheckReaderOutput(const TTarvinItem& root) {
    std::vector<const TTarvinItem*> stack{&root};
    while (!stack.empty()) {
        const TTarvinItem* item = stack.back();
        stack.pop_back();
        for (const auto& v : item->Values()) {
            FUZZ_CHECK(ReaderShaped(v.Ident.View()), "ident: " + v.Ident.Str());
            const std::string_view text = v.Text.View();
            FUZZ_CHECK(text.find('\0') == text.npos, "NUL in text");
            FUZZ_CHECK(test::CrlfBreaks(text) == text, "lone line break in text: " + v.Text.Str());
        }
        for (const auto& c : item->Children()) {
            FUZZ_CHECK(ReaderShaped(c.Name.View()), "name: " + c.Name.Str());
            stack.push_back(c.Item.get());
        }
    }
}

std::string Written(const TTarvin& tree) {
    const std::string text = tree.SaveToText();
    std::ostringstream stream;
    tree.SaveToStream(stream);
    FUZZ_CHECK(stream.str() == text, "SaveToStream and SaveToText differ");
    return text;
}

void Load(TTarvin& tree, std::string_view text, bool mayFail) {
    try {
        tree.LoadFromText(text);
    } catch (const EListError& e) {
        FUZZ_CHECK(mayFail, std::string("written text failed to load: ") + e.what());
        FUZZ_CHECK(std::string_view(e.what()) == "List index out of bounds (-1)", e.what());
    }
}

// A large text is read on two threads; wherever it is split, the result
// must be the one-thread read's.
void SplitReads(std::string_view input) {
    const std::string_view text = CutAtNul(input);
    const std::string one = test::ReadPicture(text, std::nullopt);
    const std::size_t n = text.size();
    const std::size_t chosen = n == 0 ? 0 : static_cast<unsigned char>(text[0]) * 131 % (n + 1);
    for (const std::size_t split : {n / 2, n / 3, n - n / 4, chosen}) {
        const std::string two = test::ReadPicture(text, split);
        FUZZ_CHECK(two == one,
                   "split at " + std::to_string(split) + ": " + FirstDifference(two, one));
    }
}

void ReaderRoundTrip(std::string_view input) {
    TTarvin first;
    Load(first, input, true);
    CheckReaderOutput(first.Root());
    const std::string text = Written(first);

    TTarvin second;
    Load(second, text, false);
    const std::string want = Shape(first.Root(), {.RootValues = false});
    const std::string got = Shape(second.Root());
    FUZZ_CHECK(got == want, FirstDifference(got, want));
    FUZZ_CHECK(Written(second) == text, "writing is not a fixpoint");
}

// Builds a tree from the input as a little program, one byte per step.
class TTreeBuilder {
public:
    explicit TTreeBuilder(std::string_view input) : m_in(input) {}

    void Build(TTarvinItem& root) {
        std::vector<TTarvinItem*> stack{&root};
        while (!m_in.empty()) {
            switch (Byte() % 5) {
            case 0:
                stack.push_back(&stack.back()->AddChild(Name()));
                break;
            case 1:
                if (stack.size() > 1)
                    stack.pop_back();
                break;
            case 2:
            case 3: {
                const std::string ident = Name();
                stack.back()->AddValue(ident, Text());
                break;
            }
            default: {
                const std::string ident = Name();
                root.AddValue(ident, Text());
                break;
            }
            }
        }
    }

private:
    unsigned char Byte() {
        if (m_in.empty())
            return 0;
        const auto b = static_cast<unsigned char>(m_in.front());
        m_in.remove_prefix(1);
        return b;
    }
    std::string Take(std::size_t n) {
        n = std::min(n, m_in.size());
        std::string s(m_in.substr(0, n));
        m_in.remove_prefix(n);
        return s;
    }
    std::string Name() {
        std::string s = Take(Byte() % 12);
        for (char& c : s)
            if (c == '{' || c == '}' || c == '=' || c == '\0')
                c = '_';
        return s;
    }
    std::string Text() { return Take(Byte() % 48); }

    std::string_view m_in;
};

void BuiltRoundTrip(std::string_view input) {
    TTarvin built;
    TTreeBuilder(input).Build(built.Root());
    const std::string text = Written(built);

    TTarvin back;
    Load(back, text, false);
    const std::string want =
        Shape(built.Root(), {.RootValues = false, .TrimNames = true, .CrlfTexts = true});
    const std::string got = Shape(back.Root());
    FUZZ_CHECK(got == want, FirstDifference(got, want));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    ReaderRoundTrip(input);
    SplitReads(input);
    BuiltRoundTrip(input);
    return 0;
}
