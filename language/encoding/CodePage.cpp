#include "encoding/CodePage.h"

#include "encoding/AsciiCase.h"
#include "encoding/Utf8.h"

#include <cerrno>
#include <cstdlib>
#include <cwctype>
#include <iconv.h>
#include <locale.h>
#include <map>
#include <mutex>
#include <vector>

namespace trvx {

struct CodePage::TDoubleByte {
    // By lead << 8 | trail; 0 where the pair is undefined.
    std::array<char32_t, 0x10000> Pairs{};
    std::unordered_map<std::uint16_t, std::uint16_t> UpperPairs;
};

namespace {

struct TPageName {
    int Id;
    const char* Iconv;
    std::string_view Title;
};

constexpr TPageName kPages[] = {
    {874, "CP874", "Thai"},
    {932, "CP932", "Japanese (Shift-JIS)"},
    {936, "CP936", "Chinese Simplified (GBK)"},
    {949, "CP949", "Korean"},
    {950, "CP950", "Chinese Traditional (Big5)"},
    {1250, "CP1250", "Central European"},
    {1251, "CP1251", "Cyrillic"},
    {1252, "CP1252", "Western European"},
    {1253, "CP1253", "Greek"},
    {1254, "CP1254", "Turkish"},
    {1255, "CP1255", "Hebrew"},
    {1256, "CP1256", "Arabic"},
    {1257, "CP1257", "Baltic"},
    {1258, "CP1258", "Vietnamese"},
};

constexpr std::array<int, std::size(kPages)> kIds = [] {
    std::array<int, std::size(kPages)> ids{};
    for (std::size_t i = 0; i < ids.size(); ++i)
        ids[i] = kPages[i].Id;
    return ids;
}();

const TPageName* PageName(int id) {
    for (const auto& p : kPages)
        if (p.Id == id)
            return &p;
    return nullptr;
}

locale_t UnicodeLocale() {
    static locale_t loc = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    return loc;
}

class TIconv {
public:
    explicit TIconv(const char* from) : m_cd(iconv_open("UTF-32LE", from)) {}
    ~TIconv() {
        if (Ok())
            iconv_close(m_cd);
    }
    TIconv(const TIconv&) = delete;
    TIconv& operator=(const TIconv&) = delete;
    bool Ok() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    enum class TResult { Char, Incomplete, Invalid };
    // iconv's answer for a whole sequence of bytes that must make exactly one character.
    TResult DecodeOne(const unsigned char* bytes, std::size_t length, char32_t& ch) {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        char in[2] = {static_cast<char>(bytes[0]), length > 1 ? static_cast<char>(bytes[1]) : '\0'};
        char out[16];
        char* inp = in;
        char* outp = out;
        std::size_t inLeft = length, outLeft = sizeof out;
        if (iconv(m_cd, &inp, &inLeft, &outp, &outLeft) == static_cast<std::size_t>(-1))
            return errno == EINVAL ? TResult::Incomplete : TResult::Invalid;
        // Pages with combining sequences hold a base letter back until flushed.
        iconv(m_cd, nullptr, nullptr, &outp, &outLeft);
        if (inLeft != 0 || outp - out != 4)
            return TResult::Invalid;
        auto* u = reinterpret_cast<unsigned char*>(out);
        ch = char32_t(u[0]) | char32_t(u[1]) << 8 | char32_t(u[2]) << 16 | char32_t(u[3]) << 24;
        return TResult::Char;
    }

private:
    iconv_t m_cd;
};

} // namespace

char32_t UpperChar(char32_t ch) {
    if (ch < 0x80)
        return UpperAscii(ch);
    locale_t loc = UnicodeLocale();
    if (!loc)
        return ch;
    return static_cast<char32_t>(towupper_l(static_cast<wint_t>(ch), loc));
}

std::span<const int> CodePage::SupportedIds() {
    return kIds;
}

bool CodePage::IsSupported(int id) {
    return PageName(id) != nullptr;
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

CodePage::~CodePage() = default;

CodePage::CodePage(int id) : m_id(id) {
    TIconv h(PageName(id)->Iconv);
    BuildSingleBytes(&h);
    if (IsDoubleByte())
        BuildPairs(&h);
    BuildUpper();
}

void CodePage::BuildSingleBytes(void* iconvHandle) {
    auto& h = *static_cast<TIconv*>(iconvHandle);
    bool anyLead = false;
    for (int b = 0; b < 256; ++b) {
        const auto byte = static_cast<unsigned char>(b);
        char32_t ch = b;
        // ASCII is the file format's own: no page may move it.
        if (b >= 0x80) {
            const auto r = h.Ok() ? h.DecodeOne(&byte, 1, ch) : TIconv::TResult::Invalid;
            m_lead[b] = r == TIconv::TResult::Incomplete;
            anyLead |= m_lead[b];
            if (r != TIconv::TResult::Char || IsUndefinedChar(ch))
                ch = UndefinedChar(byte);
        }
        m_toUnicode[b] = ch;
        m_fromUnicode.emplace(ch, byte);
    }
    if (anyLead)
        m_doubleByte = std::make_unique<TDoubleByte>();
}

void CodePage::BuildPairs(void* iconvHandle) {
    auto& h = *static_cast<TIconv*>(iconvHandle);
    // Where several pairs decode alike, the first met encodes. Windows
    // writes 932's NEC-selected IBM rows (leads ED, EE) never: they go last.
    std::vector<int> leads;
    for (int lead = 0x80; lead < 256; ++lead)
        if (m_lead[lead] && lead != 0xED && lead != 0xEE)
            leads.push_back(lead);
    for (int lead : {0xED, 0xEE})
        if (m_lead[lead])
            leads.push_back(lead);
    for (int lead : leads) {
        for (int trail = 0x40; trail < 256; ++trail) {
            const unsigned char pair[2] = {static_cast<unsigned char>(lead),
                                           static_cast<unsigned char>(trail)};
            char32_t ch = 0;
            if (h.DecodeOne(pair, 2, ch) != TIconv::TResult::Char || IsUndefinedChar(ch))
                continue;
            const auto code = static_cast<std::uint16_t>(lead << 8 | trail);
            m_doubleByte->Pairs[code] = ch;
            m_fromUnicode.emplace(ch, code);
        }
    }
}

void CodePage::BuildUpper() {
    for (int b = 0; b < 256; ++b) {
        unsigned char upper = static_cast<unsigned char>(b);
        const char32_t u = UpperChar(m_toUnicode[b]);
        if (u != m_toUnicode[b] && !m_lead[b]) {
            auto it = m_fromUnicode.find(u);
            if (it != m_fromUnicode.end() && it->second < 0x100)
                upper = static_cast<unsigned char>(it->second);
        }
        m_upper[b] = upper;
    }
    if (!m_doubleByte)
        return;
    for (std::size_t code = 0x8000; code < m_doubleByte->Pairs.size(); ++code) {
        const char32_t ch = m_doubleByte->Pairs[code];
        if (ch == 0)
            continue;
        const char32_t u = UpperChar(ch);
        if (u == ch)
            continue;
        // Only to another pair, so folding keeps every character's length.
        auto it = m_fromUnicode.find(u);
        if (it != m_fromUnicode.end() && it->second >= 0x100)
            m_doubleByte->UpperPairs.emplace(static_cast<std::uint16_t>(code), it->second);
    }
}

std::string CodePage::Name() const {
    return "windows-" + std::to_string(m_id);
}

std::string_view CodePage::Title() const {
    return PageName(m_id)->Title;
}

std::size_t CodePage::CharLength(std::string_view bytes, std::size_t pos) const {
    const auto lead = static_cast<unsigned char>(bytes[pos]);
    if (!m_lead[lead] || pos + 1 >= bytes.size())
        return 1;
    const auto trail = static_cast<unsigned char>(bytes[pos + 1]);
    return m_doubleByte->Pairs[lead << 8 | trail] != 0 ? 2 : 1;
}

char32_t CodePage::NextChar(std::string_view bytes, std::size_t& pos) const {
    const auto lead = static_cast<unsigned char>(bytes[pos]);
    if (CharLength(bytes, pos) == 2) {
        const auto trail = static_cast<unsigned char>(bytes[pos + 1]);
        pos += 2;
        return m_doubleByte->Pairs[lead << 8 | trail];
    }
    ++pos;
    return m_toUnicode[lead];
}

bool CodePage::IsCharStart(std::string_view text, std::size_t pos) const {
    if (!m_doubleByte)
        return true;
    std::size_t at = 0;
    while (at < pos)
        at += CharLength(text, at);
    return at == pos;
}

std::string CodePage::ToUtf8(std::string_view bytes) const {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    AppendAsUtf8(out, bytes);
    return out;
}

void CodePage::AppendAsUtf8(std::string& out, std::string_view bytes) const {
    // Mostly ASCII: copy its runs whole.
    for (std::size_t pos = 0; pos < bytes.size();) {
        std::size_t end = pos;
        while (end < bytes.size() && static_cast<unsigned char>(bytes[end]) < 0x80)
            ++end;
        out.append(bytes.data() + pos, end - pos);
        if (end == bytes.size())
            break;
        pos = end;
        AppendUtf8(out, NextChar(bytes, pos));
    }
}

bool CodePage::Encode(char32_t ch, std::string& out) const {
    if (ch < 0x80) {
        out += static_cast<char>(ch);
        return true;
    }
    auto it = m_fromUnicode.find(ch);
    if (it == m_fromUnicode.end())
        return false;
    if (it->second >= 0x100)
        out += static_cast<char>(it->second >> 8);
    out += static_cast<char>(it->second & 0xFF);
    return true;
}

bool CodePage::FromUtf8(std::string_view utf8, std::string& out, char32_t* bad) const {
    std::string result;
    result.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();) {
        const char32_t ch = NextUtf8(utf8, pos);
        if (!Encode(ch, result)) {
            if (bad)
                *bad = ch;
            return false;
        }
    }
    out = std::move(result);
    return true;
}

std::string CodePage::Upper(std::string_view bytes) const {
    std::string out(bytes);
    if (!m_doubleByte) {
        for (char& c : out)
            c = static_cast<char>(m_upper[static_cast<unsigned char>(c)]);
        return out;
    }
    for (std::size_t pos = 0; pos < out.size();) {
        const auto lead = static_cast<unsigned char>(out[pos]);
        if (CharLength(out, pos) == 1) {
            out[pos++] = static_cast<char>(m_upper[lead]);
            continue;
        }
        const std::uint16_t upper = UpperPair(
            static_cast<std::uint16_t>(lead << 8 | static_cast<unsigned char>(out[pos + 1])));
        out[pos] = static_cast<char>(upper >> 8);
        out[pos + 1] = static_cast<char>(upper & 0xFF);
        pos += 2;
    }
    return out;
}

std::uint16_t CodePage::UpperPair(std::uint16_t code) const {
    const auto it = m_doubleByte->UpperPairs.find(code);
    return it == m_doubleByte->UpperPairs.end() ? code : it->second;
}

bool CodePage::SameTextDoubleByte(std::string_view a, std::string_view b) const {
    for (std::size_t pos = 0; pos < a.size();) {
        const std::size_t length = CharLength(a, pos);
        if (CharLength(b, pos) != length)
            return false;
        const auto x = static_cast<unsigned char>(a[pos]);
        const auto y = static_cast<unsigned char>(b[pos]);
        if (length == 1) {
            if (x != y && m_upper[x] != m_upper[y])
                return false;
        } else {
            const auto xCode =
                static_cast<std::uint16_t>(x << 8 | static_cast<unsigned char>(a[pos + 1]));
            const auto yCode =
                static_cast<std::uint16_t>(y << 8 | static_cast<unsigned char>(b[pos + 1]));
            if (xCode != yCode && UpperPair(xCode) != UpperPair(yCode))
                return false;
        }
        pos += length;
    }
    return true;
}

} // namespace trvx
