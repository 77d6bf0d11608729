#pragma once

#include "document/Tarvin.h"
#include "editing/ValueKind.h"
#include "encoding/CodePage.h"

#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace trvx::exchange {

// A refusal of an export or import; the message names the unit or the place.
class EExchangeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One translation unit: a value below the root, as CAT tools see it. All
// strings are UTF-8 with "\n" line breaks; they live until the next unit.
struct TUnit {
    // The value's path: node names and ident joined by "/", escaped as the
    // update report escapes them; a name that repeats among its siblings
    // gets "\#2", "\#3"... from its second occurrence on, which no escaped
    // name can contain, so ids stay unique and the first keeps its plain id.
    std::string_view Id;
    std::string_view NodePath;
    TValueKind Kind;
    std::string_view Source; // the reference's text, else the translation's
    std::string_view Target; // the translation's text
    bool FromReference;      // Source came from the reference
    // The line count of the translation's text, for lists.
    int Lines;
};

// "text", "lines" or "shortcut".
std::string_view KindName(TValueKind kind);
// What a unit's note tells the translator: where it lives and what it is.
std::string UnitNote(const TUnit& unit);

// Calls visit for every value below the root of translation, in file
// order. With a reference, a value's source is the text of the value that
// stands at the same place there (names matched as the update matches
// them, the n-th repeat of a name with the n-th); without one, or when the
// reference lacks it, the translation's own text. Texts the code pages
// cannot show as Unicode do not occur: every byte decodes.
void ForEachUnit(const TTarvin& translation, const TTarvin* reference,
                 const std::function<void(const TUnit&)>& visit);

// The same walk without sources, for import: each value with its id.
void ForEachValueId(
    const TTarvin& translation,
    const std::function<void(std::string_view id, TTarvinItem& node, int index)>& visit);

// A language text as the exchange formats carry it: decoded to UTF-8, every
// CR LF, lone CR or lone LF as "\n".
void AppendExchangeText(std::string& out, std::string_view bytes, const CodePage& cp);
// Back to the code page, "\n" (and CR LF) as CR LF. Nullopt when a character
// does not fit; *bad receives it.
std::optional<std::string> LanguageText(std::string_view utf8, const CodePage& cp, char32_t& bad);

// The id in a location the Translate Toolkit wrote (xliff2po's "#:" line,
// po2xliff's context): URL form encoding, "+" for a blank, %XX for a byte.
std::string LocationId(std::string_view location);

// "U+00E9 'é'" for messages.
std::string DescribeChar(char32_t ch);

} // namespace trvx::exchange
