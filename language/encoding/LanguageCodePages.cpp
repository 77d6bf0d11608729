#include "encoding/CodePage.h"

#include <algorithm>

namespace trvx {

namespace {

struct TLangIdPage {
    std::uint16_t LangId;
    std::uint16_t CodePage; // 0: Unicode only, no ANSI page
};

// The ANSI code page Windows gives each locale (LOCALE_IDEFAULTANSICODEPAGE),
// by full language id: the sublanguage matters where one language is written
// in two scripts (Azeri, Uzbek, Serbian, Bosnian). Sorted by id.
constexpr TLangIdPage kLangIds[] = {
    {0x0401, 1256}, {0x0402, 1251}, {0x0403, 1252}, {0x0404, 950},  {0x0405, 1250}, {0x0406, 1252},
    {0x0407, 1252}, {0x0408, 1253}, {0x0409, 1252}, {0x040A, 1252}, {0x040B, 1252}, {0x040C, 1252},
    {0x040D, 1255}, {0x040E, 1250}, {0x040F, 1252}, {0x0410, 1252}, {0x0411, 932},  {0x0412, 949},
    {0x0413, 1252}, {0x0414, 1252}, {0x0415, 1250}, {0x0416, 1252}, {0x0417, 1252}, {0x0418, 1250},
    {0x0419, 1251}, {0x041A, 1250}, {0x041B, 1250}, {0x041C, 1250}, {0x041D, 1252}, {0x041E, 874},
    {0x041F, 1254}, {0x0420, 1256}, {0x0421, 1252}, {0x0422, 1251}, {0x0423, 1251}, {0x0424, 1250},
    {0x0425, 1257}, {0x0426, 1257}, {0x0427, 1257}, {0x0428, 1251}, {0x0429, 1256}, {0x042A, 1258},
    {0x042B, 0},    {0x042C, 1254}, {0x042D, 1252}, {0x042E, 1252}, {0x042F, 1251}, {0x0432, 1252},
    {0x0434, 1252}, {0x0435, 1252}, {0x0436, 1252}, {0x0437, 0},    {0x0438, 1252}, {0x0439, 0},
    {0x043A, 0},    {0x043B, 1252}, {0x043E, 1252}, {0x043F, 1251}, {0x0440, 1251}, {0x0441, 1252},
    {0x0442, 1250}, {0x0443, 1254}, {0x0444, 1251}, {0x0445, 0},    {0x0446, 0},    {0x0447, 0},
    {0x0448, 0},    {0x0449, 0},    {0x044A, 0},    {0x044B, 0},    {0x044C, 0},    {0x044D, 0},
    {0x044E, 0},    {0x044F, 0},    {0x0450, 1251}, {0x0451, 0},    {0x0452, 1252}, {0x0453, 0},
    {0x0454, 0},    {0x0456, 1252}, {0x0457, 0},    {0x045A, 0},    {0x045B, 0},    {0x045D, 0},
    {0x045E, 0},    {0x0461, 0},    {0x0462, 1252}, {0x0463, 0},    {0x0464, 1252}, {0x0465, 0},
    {0x0468, 1252}, {0x046A, 1252}, {0x046B, 1252}, {0x046C, 1252}, {0x046D, 1251}, {0x046E, 1252},
    {0x046F, 1252}, {0x0470, 1252}, {0x0478, 0},    {0x047A, 1252}, {0x047C, 1252}, {0x047E, 1252},
    {0x0480, 1256}, {0x0481, 0},    {0x0482, 1252}, {0x0483, 1252}, {0x0484, 1252}, {0x0485, 1251},
    {0x0486, 1252}, {0x0487, 1252}, {0x0488, 1252}, {0x048C, 1256}, {0x0491, 1252}, {0x0492, 1256},
    {0x0801, 1256}, {0x0803, 1252}, {0x0804, 936},  {0x0807, 1252}, {0x0809, 1252}, {0x080A, 1252},
    {0x080C, 1252}, {0x0810, 1252}, {0x0813, 1252}, {0x0814, 1252}, {0x0816, 1252}, {0x0818, 1250},
    {0x0819, 1251}, {0x081A, 1250}, {0x081D, 1252}, {0x0820, 1256}, {0x082C, 1251}, {0x082E, 1252},
    {0x0832, 1252}, {0x083B, 1252}, {0x083C, 1252}, {0x083E, 1252}, {0x0843, 1251}, {0x0845, 0},
    {0x0850, 0},    {0x085D, 1252}, {0x085F, 1252}, {0x086B, 1252}, {0x0C01, 1256}, {0x0C04, 950},
    {0x0C07, 1252}, {0x0C09, 1252}, {0x0C0A, 1252}, {0x0C0C, 1252}, {0x0C1A, 1251}, {0x0C3B, 1252},
    {0x0C6B, 1252}, {0x1001, 1256}, {0x1004, 936},  {0x1007, 1252}, {0x1009, 1252}, {0x100A, 1252},
    {0x100C, 1252}, {0x101A, 1250}, {0x103B, 1252}, {0x1401, 1256}, {0x1404, 950},  {0x1407, 1252},
    {0x1409, 1252}, {0x140A, 1252}, {0x140C, 1252}, {0x141A, 1250}, {0x143B, 1252}, {0x1801, 1256},
    {0x1809, 1252}, {0x180A, 1252}, {0x180C, 1252}, {0x181A, 1250}, {0x183B, 1252}, {0x1C01, 1256},
    {0x1C09, 1252}, {0x1C0A, 1252}, {0x1C0C, 1252}, {0x1C1A, 1251}, {0x1C3B, 1252}, {0x2001, 1256},
    {0x2009, 1252}, {0x200A, 1252}, {0x200C, 1252}, {0x201A, 1251}, {0x203B, 1252}, {0x2401, 1256},
    {0x2409, 1252}, {0x240A, 1252}, {0x240C, 1252}, {0x241A, 1250}, {0x243B, 1252}, {0x2801, 1256},
    {0x2809, 1252}, {0x280A, 1252}, {0x280C, 1252}, {0x281A, 1251}, {0x2C01, 1256}, {0x2C09, 1252},
    {0x2C0A, 1252}, {0x2C0C, 1252}, {0x2C1A, 1250}, {0x3001, 1256}, {0x3009, 1252}, {0x300A, 1252},
    {0x300C, 1252}, {0x301A, 1251}, {0x3401, 1256}, {0x3409, 1252}, {0x340A, 1252}, {0x340C, 1252},
    {0x3801, 1256}, {0x380A, 1252}, {0x380C, 1252}, {0x3C01, 1256}, {0x3C09, 1252}, {0x3C0A, 1252},
    {0x3C0C, 1252}, {0x4001, 1256}, {0x4009, 1252}, {0x400A, 1252}, {0x4409, 1252}, {0x440A, 1252},
    {0x4809, 1252}, {0x480A, 1252}, {0x4C0A, 1252}, {0x500A, 1252}, {0x540A, 1252}, {0x580A, 1252},
    {0x7804, 936},  {0x7C04, 950},
};

static_assert(std::is_sorted(std::begin(kLangIds), std::end(kLangIds),
                             [](const TLangIdPage& a, const TLangIdPage& b) {
                                 return a.LangId < b.LangId;
                             }));

struct TLocalePage {
    std::string_view Iso639;
    int CodePage;
};

// The same assignment by the language part of a POSIX locale name.
constexpr TLocalePage kLocales[] = {
    {"af", 1252}, {"ar", 1256}, {"az", 1254}, {"ba", 1251}, {"be", 1251}, {"bg", 1251},
    {"br", 1252}, {"bs", 1250}, {"ca", 1252}, {"co", 1252}, {"cs", 1250}, {"cy", 1252},
    {"da", 1252}, {"de", 1252}, {"el", 1253}, {"en", 1252}, {"es", 1252}, {"et", 1257},
    {"eu", 1252}, {"fa", 1256}, {"fi", 1252}, {"fo", 1252}, {"fr", 1252}, {"fy", 1252},
    {"ga", 1252}, {"gd", 1252}, {"gl", 1252}, {"he", 1255}, {"hr", 1250}, {"hu", 1250},
    {"id", 1252}, {"is", 1252}, {"it", 1252}, {"ja", 932},  {"kk", 1251}, {"ko", 949},
    {"ky", 1251}, {"lb", 1252}, {"lt", 1257}, {"lv", 1257}, {"mk", 1251}, {"mn", 1251},
    {"ms", 1252}, {"nb", 1252}, {"nl", 1252}, {"nn", 1252}, {"no", 1252}, {"pl", 1250},
    {"pt", 1252}, {"rm", 1252}, {"ro", 1250}, {"ru", 1251}, {"se", 1252}, {"sk", 1250},
    {"sl", 1250}, {"sq", 1250}, {"sr", 1251}, {"sv", 1252}, {"sw", 1252}, {"tg", 1251},
    {"th", 874},  {"tk", 1250}, {"tr", 1254}, {"tt", 1251}, {"ug", 1256}, {"uk", 1251},
    {"ur", 1256}, {"uz", 1254}, {"vi", 1258}, {"xh", 1252}, {"zh", 936},  {"zu", 1252},
};

} // namespace

int CodePage::ForLangId(int langId) {
    const auto it =
        std::lower_bound(std::begin(kLangIds), std::end(kLangIds), langId,
                         [](const TLangIdPage& entry, int id) { return entry.LangId < id; });
    if (it == std::end(kLangIds) || it->LangId != langId)
        return -1;
    return it->CodePage;
}

int CodePage::ForLocaleName(std::string_view locale) {
    const std::string_view lang = locale.substr(0, locale.find_first_of("_.@"));
    const std::string_view region = locale.substr(std::min(lang.size() + 1, locale.size()), 2);
    // Serbian is Cyrillic unless marked Latin; Azeri and Uzbek the other way round.
    if (lang == "sr" && locale.find("@latin") != std::string_view::npos)
        return 1250;
    if ((lang == "az" || lang == "uz") && locale.find("@cyrillic") != std::string_view::npos)
        return 1251;
    if (lang == "zh" && (region == "TW" || region == "HK" || region == "MO"))
        return 950;
    for (const auto& l : kLocales)
        if (lang == l.Iso639)
            return l.CodePage;
    return 0;
}

} // namespace trvx
