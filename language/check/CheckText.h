#pragma once

#include "encoding/CodePage.h"

#include <array>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

namespace trvx {

// The text-level rules of `trvx check`, one function per rule, so each can
// be tested on plain strings. All texts are bytes in a single-byte code page.

// The accelerator marks of a caption. "&&" is a literal ampersand; "&x" marks
// x. An "&" at the end of the text or before a blank (codes 0 to 32) marks
// nothing the user could press: it is a lone ampersand.
struct TAccelerator {
    int Position = -1; // the byte the first mark points at, -1 when none
    int Marks = 0;     // how many characters are marked
    bool LoneAtEnd = false;
    bool LoneBeforeBlank = false;
    bool HasLone() const { return LoneAtEnd || LoneBeforeBlank; }
};
TAccelerator FindAccelerator(std::string_view caption);

// One placeholder of the host's formatter: "%" [index ":"] [flags "-+#0"]
// [width digits or "*"] ["." precision digits or "*"] letter, the letter one
// of d u e f g n m p s x in either case. A blank flag is not taken, so "50% of"
// holds none. Placeholders without an index take the argument after the one
// before them (an index restarts the count, as the host's formatter does), and
// every "*" takes an argument of its own.
struct TPlaceholder {
    std::string_view Written; // as it stands in the text, e.g. "%0:5.2f"
    int Argument = 0;         // the argument the letter formats
    std::string_view Format;  // flags, width and precision as written, e.g. "-5.2"
    char Letter = 0;          // lower-case
    // What is compared: argument, format and letter (a "*" in the format stands
    // for the arguments just before Argument).
    auto Key() const { return std::tuple(Argument, Format, Letter); }
};
struct TFormatScan {
    std::vector<TPlaceholder> Placeholders;
    int LiteralPercents = 0;       // "%%" pairs; they take no argument and are not compared
    std::vector<int> LonePercents; // byte offsets of a "%" that starts no placeholder
    // A text with a placeholder or a "%%" is evidently passed through the formatter.
    bool IsFormat() const { return !Placeholders.empty() || LiteralPercents > 0; }
};
TFormatScan ScanFormat(std::string_view text);
// The same into a scan whose buffers are reused.
void ScanFormat(std::string_view text, TFormatScan& scan);

// The placeholders of base that text lacks and those text has beyond base,
// compared as multisets of keys; each list holds the written forms.
struct TPlaceholderDiff {
    std::vector<std::string_view> Missing;
    std::vector<std::string_view> Extra;
    bool Empty() const { return Missing.empty() && Extra.empty(); }
};
TPlaceholderDiff ComparePlaceholders(const TFormatScan& text, const TFormatScan& base);

// Lines of a list value: 0 for an empty text, else one more than its line
// breaks (CR LF, lone CR and lone LF each end a line).
int LineCount(std::string_view text);

// The blanks (codes 0 to 32) at the start and at the end of a text; for a
// text of blanks only both are the whole text.
std::string_view LeadingBlanks(std::string_view text);
std::string_view TrailingBlanks(std::string_view text);
bool HasNonBlank(std::string_view text);

// Which bytes of a code page are letters: the byte's Unicode character by
// iswalpha in the C.UTF-8 locale. HasWords looks past placeholders, so "1.0",
// "..." and "%d / %s" hold no words, while "Ok" and "Größe" do.
class TLetterTable {
public:
    explicit TLetterTable(const CodePage& cp);
    bool IsLetter(unsigned char byte) const { return m_letter[byte]; }
    bool HasLetter(std::string_view text) const;
    bool HasWords(std::string_view text) const;

private:
    std::array<bool, 256> m_letter{};
    const CodePage* m_doubleByte = nullptr; // its characters are tested whole
};

// Where a name or ident would not come back from a save and a load, or shows
// that stray text was joined to it on reading.
enum class TNameHazard {
    None,
    OuterBlanks, // trimmed on reading
    Brace,       // "{" or "}" would open or close a node
    Equals,      // "=" would start a value
    LineBreak,   // left-over text from the line above was read into it
};
TNameHazard NameHazardOf(std::string_view name);

} // namespace trvx
