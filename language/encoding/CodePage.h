#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>

namespace trvx {

// One Windows ANSI code page: the character set a language file is written
// in, single-byte (874, 1250 to 1258) or double-byte (932, 936, 949, 950).
// Decodes to Unicode, encodes back, and folds letter case the way the
// language's users expect ("ÄNDERN" equals "ändern" in 1252). Tables are
// built once per code page from glibc's iconv and its Unicode case mapping,
// never typed by hand.
//
// A byte the page leaves undefined (or a lead byte without a valid trail)
// decodes to the private-use code point UndefinedChar(byte), which stands for
// that byte alone, is no letter and encodes back to exactly that byte.
class CodePage {
public:
    // Every page this build serves, in ascending order.
    static std::span<const int> SupportedIds();
    static bool IsSupported(int id);
    // A supported code page; any other id gives 1252.
    static const CodePage& Get(int id);
    // The one the user's locale implies, else 1252.
    static const CodePage& Default();
    // The ANSI code page Windows gives a language id (1031 -> 1252, 2092 ->
    // 1251); 0 for a language without one (Unicode only) and -1 for an id
    // Windows does not know.
    static int ForLangId(int langId);
    // The ANSI code page of a POSIX locale name ("ru_RU.UTF-8" -> 1251); 0 if unknown.
    static int ForLocaleName(std::string_view locale);

    static constexpr char32_t UndefinedChar(unsigned char byte) { return kUndefinedBase + byte; }
    static constexpr bool IsUndefinedChar(char32_t ch) {
        return ch >= kUndefinedBase + 0x80 && ch <= kUndefinedBase + 0xFF;
    }

    ~CodePage();
    int Id() const { return m_id; }
    // "windows-1252"; ids, not the many aliases of the double-byte sets.
    std::string Name() const;
    // "Cyrillic", "Japanese (Shift-JIS)": what a translator picks from.
    std::string_view Title() const;
    bool IsDoubleByte() const { return m_doubleByte != nullptr; }
    bool IsLeadByte(unsigned char byte) const { return m_lead[byte]; }
    // Bytes of the character starting at pos (1 or 2).
    std::size_t CharLength(std::string_view bytes, std::size_t pos) const;

    // A single byte's character; a lead byte alone gives its undefined char.
    char32_t Decode(unsigned char byte) const { return m_toUnicode[byte]; }
    // The character at pos, advancing pos past it.
    char32_t NextChar(std::string_view bytes, std::size_t& pos) const;
    std::string ToUtf8(std::string_view bytes) const;
    // The same, appended to out.
    void AppendAsUtf8(std::string& out, std::string_view bytes) const;
    // False when this page cannot hold a character; *bad receives it.
    bool FromUtf8(std::string_view utf8, std::string& out, char32_t* bad = nullptr) const;

    // Single-byte case folding; a double-byte page folds only its single
    // bytes here, never a lead or trail byte.
    unsigned char Upper(unsigned char byte) const { return m_upper[byte]; }
    // Character by character; the result keeps every character's length.
    std::string Upper(std::string_view bytes) const;
    // Inline: the merge and every name lookup call it for each candidate.
    bool SameText(std::string_view a, std::string_view b) const {
        if (a.size() != b.size())
            return false;
        if (m_doubleByte)
            return SameTextDoubleByte(a, b);
        // Names compared are mostly spelt alike: fold only where bytes differ.
        for (std::size_t i = 0; i < a.size(); ++i) {
            const auto x = static_cast<unsigned char>(a[i]);
            const auto y = static_cast<unsigned char>(b[i]);
            if (x != y && m_upper[x] != m_upper[y])
                return false;
        }
        return true;
    }
    // Whether pos starts a character of text (not a trail byte).
    bool IsCharStart(std::string_view text, std::size_t pos) const;

private:
    static constexpr char32_t kUndefinedBase = 0xEF00;
    struct TDoubleByte;

    explicit CodePage(int id);
    void BuildSingleBytes(void* iconvHandle);
    void BuildPairs(void* iconvHandle);
    void BuildUpper();
    bool Encode(char32_t ch, std::string& out) const;
    bool SameTextDoubleByte(std::string_view a, std::string_view b) const;
    std::uint16_t UpperPair(std::uint16_t code) const;

    int m_id;
    std::array<char32_t, 256> m_toUnicode{};
    std::array<unsigned char, 256> m_upper{};
    std::array<bool, 256> m_lead{};
    // Code point to bytes: one byte, or lead << 8 | trail.
    std::unordered_map<char32_t, std::uint16_t> m_fromUnicode;
    std::unique_ptr<TDoubleByte> m_doubleByte;
};

// Unicode upper case of one character, as the C library's Unicode locale has it.
char32_t UpperChar(char32_t ch);

} // namespace trvx
