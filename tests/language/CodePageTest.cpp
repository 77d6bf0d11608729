#include "encoding/CodePage.h"
#include "document/Tarvin.h"
#include "editing/SearchWalk.h"

#include <gtest/gtest.h>

#include <cwctype>
#include <iconv.h>
#include <locale.h>
#include <string>

namespace trvx {
namespace {

// Bytes of a Unicode text in a Windows code page, by iconv itself.
std::string Encoded(std::string_view utf8, int codePage) {
    iconv_t cd = iconv_open(("CP" + std::to_string(codePage)).c_str(), "UTF-8");
    EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1));
    std::string in(utf8), out(utf8.size() * 2, '\0');
    char* inp = in.data();
    char* outp = out.data();
    std::size_t inLeft = in.size(), outLeft = out.size();
    EXPECT_NE(iconv(cd, &inp, &inLeft, &outp, &outLeft), static_cast<std::size_t>(-1));
    iconv_close(cd);
    out.resize(out.size() - outLeft);
    return out;
}

bool IsLetter(char32_t ch) {
    static const locale_t unicode = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t{});
    return iswalpha_l(static_cast<wint_t>(ch), unicode) != 0;
}

TEST(CodePage, LangIdsGetTheirWindowsPage) {
    struct Case {
        int langId;
        int codePage;
    };
    const Case cases[] = {
        {0x0407, 1252},
        {0x0C09, 1252},
        {0x0419, 1251},
        {0x0405, 1250},
        {0x0408, 1253},
        {0x041F, 1254},
        {0x040D, 1255},
        {0x0401, 1256},
        {0x0425, 1257},
        {0x042A, 1258},
        {0x041E, 874},
        {0x0411, 932},
        {0x0804, 936},
        {0x1004, 936},
        {0x0412, 949},
        {0x0404, 950},
        {0x0C04, 950},
        {0x1404, 950},
        // One language, two scripts: the sublanguage decides.
        {0x042C, 1254},
        {0x082C, 1251},
        {0x0443, 1254},
        {0x0843, 1251},
        {0x081A, 1250},
        {0x0C1A, 1251},
        {0x141A, 1250},
        {0x201A, 1251},
        // Tajik, Turkmen, Irish, Welsh, Sami, Bashkir, Uyghur, Dari, Central Kurdish.
        {0x0428, 1251},
        {0x0442, 1250},
        {0x083C, 1252},
        {0x0452, 1252},
        {0x043B, 1252},
        {0x046D, 1251},
        {0x0480, 1256},
        {0x048C, 1256},
        {0x0492, 1256},
        {0x0439, 0}, // Hindi: Unicode only
        {0x0000, -1},
        {0x0419 | 0x3C00, -1},
        {0x1234, -1},
        {0xFFFF, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CodePage::ForLangId(c.langId), c.codePage) << std::hex << c.langId;
    EXPECT_EQ(CodePage::ForLocaleName("ru_RU.UTF-8"), 1251);
    EXPECT_EQ(CodePage::ForLocaleName("ja_JP.UTF-8"), 932);
    EXPECT_EQ(CodePage::ForLocaleName("zh_TW.UTF-8"), 950);
    EXPECT_EQ(CodePage::ForLocaleName("uz_UZ@cyrillic"), 1251);
    EXPECT_EQ(CodePage::ForLocaleName("C.UTF-8"), 0);
    EXPECT_EQ(CodePage::Get(437).Id(), 1252);
}

TEST(CodePage, EveryByteOfASingleBytePageComesBackAndUndefinedOnesAreNoLetters) {
    for (int id : CodePage::SupportedIds()) {
        const CodePage& cp = CodePage::Get(id);
        if (cp.IsDoubleByte())
            continue;
        for (int b = 0; b < 256; ++b) {
            const std::string byte(1, static_cast<char>(b));
            const char32_t ch = cp.Decode(static_cast<unsigned char>(b));
            std::string back;
            ASSERT_TRUE(cp.FromUtf8(cp.ToUtf8(byte), back)) << id << " " << b;
            EXPECT_EQ(back, byte) << id << " " << b;
            if (CodePage::IsUndefinedChar(ch)) {
                EXPECT_EQ(ch, CodePage::UndefinedChar(static_cast<unsigned char>(b)));
                EXPECT_FALSE(IsLetter(ch)) << id << " " << b;
                EXPECT_EQ(cp.Upper(static_cast<unsigned char>(b)), b) << id << " " << b;
            }
        }
    }
    // Bytes these pages leave undefined, which once passed for Latin-1 letters.
    const std::pair<int, std::string_view> undefined[] = {{1253, "\xAA\xD2\xFF"},
                                                          {1255, "\xCA\xD9\xDF\xFB\xFC\xFF"},
                                                          {1257, "\xA1\xA5"},
                                                          {874, "\xDB\xDE\xFC\xFF"}};
    for (const auto& [id, bytes] : undefined)
        for (const char b : bytes)
            EXPECT_TRUE(
                CodePage::IsUndefinedChar(CodePage::Get(id).Decode(static_cast<unsigned char>(b))))
                << id << " " << (b & 0xFF);
    std::string out;
    char32_t bad = 0;
    EXPECT_FALSE(CodePage::Get(1253).FromUtf8("\xC3\x92", out, &bad)); // Ò is no Greek letter
    EXPECT_EQ(bad, U'\u00D2');
}

TEST(CodePage, DoubleBytePagesKeepRealTextsAndNeverFoldATrailByte) {
    struct Case {
        int id;
        std::string_view text; // UTF-8
    };
    const Case cases[] = {
        {932, "ファイルを開く（&O）…表示ソ"},
        {936, "打开文件(&O)… 编辑"},
        {949, "파일 열기(&O)… 편집"},
        {950, "開啟檔案(&O)… 編輯"},
    };
    for (const auto& c : cases) {
        const CodePage& cp = CodePage::Get(c.id);
        ASSERT_TRUE(cp.IsDoubleByte()) << c.id;
        std::string bytes;
        ASSERT_TRUE(cp.FromUtf8(c.text, bytes)) << c.id;
        EXPECT_EQ(bytes, Encoded(c.text, c.id)) << c.id;
        EXPECT_EQ(cp.ToUtf8(bytes), c.text) << c.id;
        EXPECT_EQ(cp.Upper(bytes), bytes) << c.id; // nothing here has a case, whatever its bytes
    }
    const CodePage& sjis = CodePage::Get(932);
    const std::string di = Encoded("ヂ", 932), a = Encoded("ア", 932); // 83 61 and 83 41
    ASSERT_EQ(di, "\x83\x61");
    EXPECT_FALSE(sjis.SameText(di, a));
    EXPECT_TRUE(sjis.SameText(Encoded("ｆｉｌｅ", 932), Encoded("ＦＩＬＥ", 932)));
    EXPECT_TRUE(sjis.SameText(Encoded("ファイルopen", 932), Encoded("ファイルOPEN", 932)));
    // A lead byte without a valid trail stands for itself and comes back.
    std::string back;
    ASSERT_TRUE(sjis.FromUtf8(sjis.ToUtf8("\x81\x20z\x85"), back));
    EXPECT_EQ(back, "\x81\x20z\x85");
}

TEST(CodePage, SearchOnADoubleBytePageMatchesWholeCharactersOnly) {
    const CodePage& sjis = CodePage::Get(932);
    struct Case {
        std::string_view find; // UTF-8
        bool ignoreCase;
        std::string_view in; // UTF-8
        bool found;
    };
    const Case cases[] = {
        {"A", false, "ア", false}, // 83 41: "A" is its trail byte
        {"a", true, "ア", false},
        {"a", true, "ヂ", false}, // 83 61
        {"\\", false, "表", false},
        {"開く", true, "ファイルを開く(&O)", true},
        {"&o", true, "ファイルを開く(&O)", true},
        {"ａ", true, "ＡＢ", true},
        {"ア", false, "アA", true},
    };
    for (const auto& c : cases) {
        std::string find;
        ASSERT_TRUE(sjis.FromUtf8(c.find, find));
        EXPECT_EQ(TTextMatcher(find, c.ignoreCase, sjis).Matches(Encoded(c.in, 932)), c.found)
            << c.find << " in " << c.in;
    }
}

TEST(CodePage, ComesFromTheOverrideThenTheLangIdPastAByteOrderMark) {
    struct Case {
        std::string_view text;
        int overridePage;
        TTarvin::TCodePageSource source;
        int codePage; // 0: the locale's
    };
    using S = TTarvin::TCodePageSource;
    const Case cases[] = {
        {"INFO {\r\n  LangID = 2092\r\n}\r\n", 0, S::LangId, 1251},
        {"\xEF\xBB\xBFINFO {\r\n  LangID = $0411\r\n}\r\n", 0, S::LangId, 932},
        {"INFO {\r\n  LangID = 4660\r\n}\r\n", 0, S::UnknownLangId, 0},
        {"INFO {\r\n  LangID = x\r\n}\r\n", 0, S::UnknownLangId, 0},
        {"INFO {\r\n  Language = German\r\n}\r\n", 0, S::Locale, 0},
        {"INFO {\r\n  LangID = 1049\r\n}\r\n", 1253, S::Override, 1253},
    };
    for (const auto& c : cases) {
        TTarvin tree;
        tree.SetCodePageOverride(c.overridePage);
        tree.LoadFromText(c.text);
        EXPECT_EQ(tree.CodePageSource(), c.source) << c.text;
        EXPECT_EQ(tree.GetCodePage().Id(), c.codePage ? c.codePage : CodePage::Default().Id())
            << c.text;
        EXPECT_EQ(tree.CodePageWarning().empty(), c.source != S::UnknownLangId) << c.text;
    }
}

} // namespace
} // namespace trvx
