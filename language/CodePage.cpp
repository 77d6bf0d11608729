#include "language/CodePage.h"

#include <clocale>
#include <cstdlib>
#include <cwctype>
#include <iconv.h>
#include <locale.h>
#include <map>
#include <memory>
#include <mutex>

namespace trvx {

namespace {

struct LanguageCodePage {
    int primaryLangId;
    const char* iso639;
    int codePage;
};

// Windows assigns each language one ANSI code page; this is that assignment
// for the languages a translation is likely to be in.
constexpr LanguageCodePage kLanguages[] = {
    {0x01, "ar", 1256}, {0x02, "bg", 1251}, {0x03, "ca", 1252}, {0x05, "cs", 1250},
    {0x06, "da", 1252}, {0x07, "de", 1252}, {0x08, "el", 1253}, {0x09, "en", 1252},
    {0x0A, "es", 1252}, {0x0B, "fi", 1252}, {0x0C, "fr", 1252}, {0x0D, "he", 1255},
    {0x0E, "hu", 1250}, {0x0F, "is", 1252}, {0x10, "it", 1252}, {0x13, "nl", 1252},
    {0x14, "nb", 1252}, {0x14, "nn", 1252}, {0x14, "no", 1252}, {0x15, "pl", 1250},
    {0x16, "pt", 1252}, {0x18, "ro", 1250}, {0x19, "ru", 1251}, {0x1A, "hr", 1250},
    {0x1A, "bs", 1250}, {0x1A, "sr", 1251}, {0x1B, "sk", 1250}, {0x1C, "sq", 1250},
    {0x1D, "sv", 1252}, {0x1E, "th", 874},  {0x1F, "tr", 1254}, {0x20, "ur", 1256},
    {0x21, "id", 1252}, {0x22, "uk", 1251}, {0x23, "be", 1251}, {0x24, "sl", 1250},
    {0x25, "et", 1257}, {0x26, "lv", 1257}, {0x27, "lt", 1257}, {0x29, "fa", 1256},
    {0x2A, "vi", 1258}, {0x2C, "az", 1254}, {0x2D, "eu", 1252}, {0x2F, "mk", 1251},
    {0x36, "af", 1252}, {0x38, "fo", 1252}, {0x3E, "ms", 1252}, {0x3F, "kk", 1251},
    {0x40, "ky", 1251}, {0x41, "sw", 1252}, {0x43, "uz", 1254}, {0x44, "tt", 1251},
    {0x50, "mn", 1251}, {0x56, "gl", 1252},
};

// Serbian, Bosnian and Croatian share a primary id; the sublanguage tells
// the Cyrillic script from the Latin one.
int SerboCroatianCodePage(int langId) {
    switch (langId) {
    case 0x0C1A:
    case 0x1C1A:
    case 0x201A:
    case 0x281A:
    case 0x301A:
        return 1251;
    default:
        return 1250;
    }
}

locale_t UnicodeLocale() {
    static locale_t loc = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    return loc;
}

char32_t UpperOf(char32_t ch) {
    if (ch < 0x80)
        return (ch >= 'a' && ch <= 'z') ? ch - 32 : ch;
    locale_t loc = UnicodeLocale();
    if (!loc)
        return ch;
    return static_cast<char32_t>(towupper_l(static_cast<wint_t>(ch), loc));
}

struct IconvHandle {
    iconv_t cd;
    explicit IconvHandle(const char* from) : cd(iconv_open("UTF-32LE", from)) {}
    ~IconvHandle() {
        if (cd != reinterpret_cast<iconv_t>(-1))
            iconv_close(cd);
    }
    bool Ok() const { return cd != reinterpret_cast<iconv_t>(-1); }
};

// iconv's answer for one byte, or 0 when the page leaves the byte undefined.
char32_t DecodeOne(IconvHandle& h, unsigned char byte) {
    iconv(h.cd, nullptr, nullptr, nullptr, nullptr);
    char in[1] = {static_cast<char>(byte)};
    char out[16];
    char* inp = in;
    char* outp = out;
    std::size_t inLeft = 1, outLeft = sizeof out;
    if (iconv(h.cd, &inp, &inLeft, &outp, &outLeft) == static_cast<std::size_t>(-1) && inLeft)
        return 0;
    // Pages with combining sequences hold a base letter back until flushed.
    iconv(h.cd, nullptr, nullptr, &outp, &outLeft);
    if (outp - out < 4)
        return 0;
    auto* u = reinterpret_cast<unsigned char*>(out);
    return char32_t(u[0]) | char32_t(u[1]) << 8 | char32_t(u[2]) << 16 | char32_t(u[3]) << 24;
}

} // namespace

bool CodePage::IsSupported(int id) {
    return id == 874 || (id >= 1250 && id <= 1258);
}

const CodePage& CodePage::Get(int id) {
    if (!IsSupported(id))
        id = 1252;
    static std::mutex mutex;
    static std::map<int, std::unique_ptr<CodePage>> cache;
    std::lock_guard lock(mutex);
    auto& slot = cache[id];
    if (!slot)
        slot.reset(new CodePage(id));
    return *slot;
}

const CodePage& CodePage::Default() {
    static const CodePage& page = []() -> const CodePage& {
        for (const char* var : {"LC_ALL", "LC_CTYPE", "LANG"}) {
            const char* value = std::getenv(var);
            if (value && *value) {
                int cp = ForLocaleName(value);
                return Get(cp ? cp : 1252);
            }
        }
        return Get(1252);
    }();
    return page;
}

int CodePage::ForLangId(int langId) {
    if (langId <= 0 || langId > 0xFFFF)
        return 0;
    int primary = langId & 0x3FF;
    if (primary == 0x1A)
        return SerboCroatianCodePage(langId);
    for (const auto& l : kLanguages)
        if (l.primaryLangId == primary)
            return l.codePage;
    return 0;
}

int CodePage::ForLocaleName(std::string_view locale) {
    std::size_t end = locale.find_first_of("_.@");
    std::string_view lang = locale.substr(0, end);
    if (locale.starts_with("sr_") && locale.find("@latin") != std::string_view::npos)
        return 1250;
    for (const auto& l : kLanguages)
        if (lang == l.iso639)
            return l.codePage;
    return 0;
}

CodePage::CodePage(int id) : m_id(id) {
    IconvHandle h(("CP" + std::to_string(id)).c_str());
    for (int b = 0; b < 256; ++b) {
        char32_t u =
            b < 0x80 ? char32_t(b) : (h.Ok() ? DecodeOne(h, static_cast<unsigned char>(b)) : 0);
        m_toUnicode[b] = u;
    }
    for (int b = 0; b < 256; ++b)
        if (m_toUnicode[b] != 0 || b == 0)
            m_fromUnicode.emplace(m_toUnicode[b], static_cast<unsigned char>(b));
    // A byte the page leaves undefined keeps its Latin-1 code point, so
    // decoding and encoding never lose it.
    for (int b = 0x80; b < 256; ++b) {
        if (m_toUnicode[b] == 0 && !m_fromUnicode.contains(char32_t(b))) {
            m_toUnicode[b] = char32_t(b);
            m_fromUnicode.emplace(char32_t(b), static_cast<unsigned char>(b));
        }
    }
    for (int b = 0; b < 256; ++b) {
        unsigned char upper = static_cast<unsigned char>(b);
        char32_t u = UpperOf(m_toUnicode[b]);
        if (u != m_toUnicode[b]) {
            auto it = m_fromUnicode.find(u);
            if (it != m_fromUnicode.end())
                upper = it->second;
        }
        m_upper[b] = upper;
    }
}

std::string CodePage::Name() const {
    return m_id == 874 ? "windows-874" : "windows-" + std::to_string(m_id);
}

std::string CodePage::ToUtf8(std::string_view bytes) const {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    // Mostly ASCII: copy its runs whole.
    for (std::size_t pos = 0; pos < bytes.size();) {
        std::size_t end = pos;
        while (end < bytes.size() && static_cast<unsigned char>(bytes[end]) < 0x80)
            ++end;
        out.append(bytes.data() + pos, end - pos);
        if (end == bytes.size())
            break;
        AppendUtf8(out, m_toUnicode[static_cast<unsigned char>(bytes[end])]);
        pos = end + 1;
    }
    return out;
}

bool CodePage::Encode(char32_t ch, unsigned char& byte) const {
    if (ch < 0x80) {
        byte = static_cast<unsigned char>(ch);
        return true;
    }
    auto it = m_fromUnicode.find(ch);
    if (it == m_fromUnicode.end())
        return false;
    byte = it->second;
    return true;
}

bool CodePage::FromUtf8(std::string_view utf8, std::string& out, char32_t* bad) const {
    std::string result;
    result.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();) {
        char32_t ch = NextUtf8(utf8, pos);
        unsigned char byte;
        if (!Encode(ch, byte)) {
            if (bad)
                *bad = ch;
            return false;
        }
        result += static_cast<char>(byte);
    }
    out = std::move(result);
    return true;
}

std::string CodePage::Upper(std::string_view bytes) const {
    std::string out(bytes);
    for (char& c : out)
        c = static_cast<char>(m_upper[static_cast<unsigned char>(c)]);
    return out;
}

void AppendUtf8(std::string& out, char32_t ch) {
    if (ch < 0x80) {
        out += static_cast<char>(ch);
    } else if (ch < 0x800) {
        out += static_cast<char>(0xC0 | (ch >> 6));
        out += static_cast<char>(0x80 | (ch & 0x3F));
    } else if (ch < 0x10000) {
        out += static_cast<char>(0xE0 | (ch >> 12));
        out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (ch & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (ch >> 18));
        out += static_cast<char>(0x80 | ((ch >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (ch & 0x3F));
    }
}

char32_t NextUtf8(std::string_view text, std::size_t& pos) {
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    unsigned char b0 = byte(pos);
    int extra = b0 < 0x80 ? 0 : (b0 >> 5) == 6 ? 1 : (b0 >> 4) == 14 ? 2 : (b0 >> 3) == 30 ? 3 : -1;
    if (extra == 0) {
        ++pos;
        return b0;
    }
    if (extra < 0 || pos + extra >= text.size()) {
        ++pos;
        return U'\uFFFD';
    }
    char32_t ch = b0 & (0x3F >> extra);
    for (int i = 1; i <= extra; ++i) {
        unsigned char b = byte(pos + i);
        if ((b & 0xC0) != 0x80) {
            ++pos;
            return U'\uFFFD';
        }
        ch = (ch << 6) | (b & 0x3F);
    }
    pos += extra + 1;
    return ch;
}

} // namespace trvx
