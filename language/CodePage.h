#pragma once

#include <array>
#include <string>
#include <string_view>
#include <unordered_map>

namespace trvx {

// One Windows ANSI code page: the 8-bit character set a language file is
// written in. Decodes to Unicode, encodes back, and folds letter case the
// way the language's users expect ("ÄNDERN" equals "ändern" in 1252).
// Tables are built once per code page from glibc's iconv and its Unicode
// case mapping, never typed by hand.
class CodePage {
public:
    // Code pages this build can serve: 874 and 1250 to 1258.
    static bool IsSupported(int id);
    // A supported code page; any other id gives 1252.
    static const CodePage& Get(int id);
    // The one the user's locale implies, else 1252.
    static const CodePage& Default();
    // The ANSI code page of a Windows language id (1031 -> 1252); 0 if unknown.
    static int ForLangId(int langId);
    // The ANSI code page of a POSIX locale name ("ru_RU.UTF-8" -> 1251); 0 if unknown.
    static int ForLocaleName(std::string_view locale);

    int Id() const { return m_id; }
    // "windows-1252", the name Qt and the web know it by.
    std::string Name() const;

    char32_t Decode(unsigned char byte) const { return m_toUnicode[byte]; }
    std::string ToUtf8(std::string_view bytes) const;
    // False when this page cannot hold a character; *bad receives it.
    bool Encode(char32_t ch, unsigned char& byte) const;
    bool FromUtf8(std::string_view utf8, std::string& out, char32_t* bad = nullptr) const;

    unsigned char Upper(unsigned char byte) const { return m_upper[byte]; }
    std::string Upper(std::string_view bytes) const;
    // Inline: the merge and every name lookup call it for each candidate.
    bool SameText(std::string_view a, std::string_view b) const {
        if (a.size() != b.size())
            return false;
        // Names compared are mostly spelt alike: fold only where bytes differ.
        for (std::size_t i = 0; i < a.size(); ++i) {
            const auto x = static_cast<unsigned char>(a[i]);
            const auto y = static_cast<unsigned char>(b[i]);
            if (x != y && m_upper[x] != m_upper[y])
                return false;
        }
        return true;
    }

private:
    explicit CodePage(int id);

    int m_id;
    std::array<char32_t, 256> m_toUnicode{};
    std::array<unsigned char, 256> m_upper{};
    std::unordered_map<char32_t, unsigned char> m_fromUnicode;
};

// Appends a code point as UTF-8.
void AppendUtf8(std::string& out, char32_t ch);
// Decodes one UTF-8 sequence at pos and advances it; U+FFFD for a malformed one.
char32_t NextUtf8(std::string_view text, std::size_t& pos);

} // namespace trvx
