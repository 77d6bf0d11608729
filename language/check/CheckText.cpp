#include "check/CheckText.h"

#include "encoding/AsciiCase.h"
#include "encoding/ByteScan.h"
#include "format/Quoting.h"

#include <algorithm>
#include <cwctype>
#include <locale.h>

namespace trvx {

TAccelerator FindAccelerator(std::string_view caption) {
    TAccelerator result;
    // Every caption of a tree comes here; find jumps to each "&". The byte
    // after one is never the start of the next: it is the "&" of "&&", a
    // blank or the marked character.
    for (std::size_t i = caption.find('&'); i != std::string_view::npos;
         i = caption.find('&', i + 2)) {
        if (i + 1 == caption.size()) {
            result.LoneAtEnd = true;
        } else if (caption[i + 1] == '&') {
            continue; // a literal ampersand
        } else if (IsBlank(caption[i + 1])) {
            result.LoneBeforeBlank = true;
        } else {
            if (result.Position < 0)
                result.Position = static_cast<int>(i + 1);
            ++result.Marks;
        }
    }
    return result;
}

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsConversion(char c) {
    constexpr std::string_view kLetters = "dDuUeEfFgGnNmMpPsSxX";
    return kLetters.find(c) != std::string_view::npos;
}

// Parses a placeholder whose "%" stands at start; false when there is none.
// next is the argument the placeholder would take without an index.
bool ParsePlaceholder(std::string_view text, std::size_t start, int& next, TPlaceholder& p) {
    std::size_t i = start + 1;
    // An index is digits followed by a colon; without the colon they are the width.
    std::size_t digits = i;
    while (digits < text.size() && IsDigit(text[digits]))
        ++digits;
    if (digits > i && digits < text.size() && text[digits] == ':') {
        if (digits - i > 6)
            return false;
        next = 0;
        for (; i < digits; ++i)
            next = next * 10 + (text[i] - '0');
        i = digits + 1;
    }
    const std::size_t specStart = i;
    auto widthOrStar = [&] {
        if (i < text.size() && text[i] == '*') {
            ++next; // the star takes an argument of its own
            ++i;
        } else {
            while (i < text.size() && IsDigit(text[i]))
                ++i;
        }
    };
    while (i < text.size() && std::string_view("-+#0").find(text[i]) != std::string_view::npos)
        ++i;
    widthOrStar();
    if (i < text.size() && text[i] == '.') {
        ++i;
        widthOrStar();
    }
    if (i == text.size() || !IsConversion(text[i]))
        return false;
    p.Written = text.substr(start, i + 1 - start);
    p.Argument = next++;
    p.Format = text.substr(specStart, i - specStart);
    p.Letter = LowerAscii(text[i]);
    return true;
}

} // namespace

void ScanFormat(std::string_view text, TFormatScan& scan) {
    scan.Placeholders.clear();
    scan.LiteralPercents = 0;
    scan.LonePercents.clear();
    int next = 0;
    for (std::size_t i = text.find('%'); i != std::string_view::npos; i = text.find('%', i)) {
        if (i + 1 < text.size() && text[i + 1] == '%') {
            ++scan.LiteralPercents;
            i += 2;
            continue;
        }
        TPlaceholder p;
        int argument = next;
        if (ParsePlaceholder(text, i, argument, p)) {
            next = argument;
            scan.Placeholders.push_back(p);
            i += p.Written.size();
        } else {
            scan.LonePercents.push_back(static_cast<int>(i));
            ++i;
        }
    }
}

TFormatScan ScanFormat(std::string_view text) {
    TFormatScan scan;
    ScanFormat(text, scan);
    return scan;
}

TPlaceholderDiff ComparePlaceholders(const TFormatScan& text, const TFormatScan& base) {
    TPlaceholderDiff diff;
    const auto& mine = text.Placeholders;
    const auto& theirs = base.Placeholders;
    // Mostly they stand in the same order: nothing to sort then.
    if (mine.size() == theirs.size() &&
        std::equal(mine.begin(), mine.end(), theirs.begin(),
                   [](const auto& a, const auto& b) { return a.Key() == b.Key(); }))
        return diff;
    auto sorted = [](const std::vector<TPlaceholder>& list) {
        std::vector<const TPlaceholder*> out;
        for (const TPlaceholder& p : list)
            out.push_back(&p);
        std::stable_sort(out.begin(), out.end(),
                         [](const auto* a, const auto* b) { return a->Key() < b->Key(); });
        return out;
    };
    const auto a = sorted(mine);
    const auto b = sorted(theirs);
    std::size_t i = 0, j = 0;
    while (i < a.size() || j < b.size()) {
        if (j == b.size() || (i < a.size() && a[i]->Key() < b[j]->Key())) {
            diff.Extra.push_back(a[i++]->Written);
        } else if (i == a.size() || b[j]->Key() < a[i]->Key()) {
            diff.Missing.push_back(b[j++]->Written);
        } else {
            ++i;
            ++j;
        }
    }
    return diff;
}

int LineCount(std::string_view text) {
    if (text.empty())
        return 0;
    int lines = 1;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            ++lines;
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else if (text[i] == '\n') {
            ++lines;
        }
    }
    return lines;
}

std::string_view LeadingBlanks(std::string_view text) {
    std::size_t n = 0;
    while (n < text.size() && IsBlank(text[n]))
        ++n;
    return text.substr(0, n);
}

std::string_view TrailingBlanks(std::string_view text) {
    std::size_t n = text.size();
    while (n > 0 && IsBlank(text[n - 1]))
        --n;
    return text.substr(n);
}

bool HasNonBlank(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) { return !IsBlank(c); });
}

namespace {

bool IsLetterChar(char32_t ch) {
    static const locale_t unicode =
        newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    if (ch < 0x80 || !unicode)
        return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z');
    return iswalpha_l(static_cast<wint_t>(ch), unicode) != 0;
}

} // namespace

TLetterTable::TLetterTable(const CodePage& cp) : m_doubleByte(cp.IsDoubleByte() ? &cp : nullptr) {
    for (int b = 0; b < 256; ++b)
        m_letter[b] = IsLetterChar(cp.Decode(static_cast<unsigned char>(b)));
}

bool TLetterTable::HasLetter(std::string_view text) const {
    if (m_doubleByte) {
        for (std::size_t pos = 0; pos < text.size();)
            if (IsLetterChar(m_doubleByte->NextChar(text, pos)))
                return true;
        return false;
    }
    return std::any_of(text.begin(), text.end(),
                       [this](char c) { return m_letter[static_cast<unsigned char>(c)]; });
}

bool TLetterTable::HasWords(std::string_view text) const {
    if (text.find('%') == std::string_view::npos)
        return HasLetter(text);
    const TFormatScan scan = ScanFormat(text);
    std::size_t from = 0;
    for (const TPlaceholder& p : scan.Placeholders) {
        const auto at = static_cast<std::size_t>(p.Written.data() - text.data());
        if (HasLetter(text.substr(from, at - from)))
            return true;
        from = at + p.Written.size();
    }
    return HasLetter(text.substr(from));
}

TNameHazard NameHazardOf(std::string_view name) {
    if (name.empty())
        return TNameHazard::None;
    // Every name and ident of a tree comes here, and almost none holds a
    // byte that matters: one word-wise scan settles those.
    if (!HasAny<'{', '}', '=', '\r', '\n'>(name.data(), name.data() + name.size()))
        return IsBlank(name.front()) || IsBlank(name.back()) ? TNameHazard::OuterBlanks
                                                             : TNameHazard::None;
    bool brace = false, equals = false, lineBreak = false;
    for (char c : name) {
        // Only codes up to '}' can matter; most bytes fail the first test.
        if (static_cast<unsigned char>(c) > '=' && c != '{' && c != '}')
            continue;
        brace |= c == '{' || c == '}';
        equals |= c == '=';
        lineBreak |= c == '\r' || c == '\n';
    }
    if (brace)
        return TNameHazard::Brace;
    if (equals)
        return TNameHazard::Equals;
    if (IsBlank(name.front()) || IsBlank(name.back()))
        return TNameHazard::OuterBlanks;
    return lineBreak ? TNameHazard::LineBreak : TNameHazard::None;
}

} // namespace trvx
