#include "editing/Shortcut.h"

#include "encoding/AsciiCase.h"

#include <array>
#include <utility>

namespace trvx {

namespace {

// Names for the keys that have no fixed name. On Windows these come from
// the active keyboard layout; to keep files and tests the same on every
// machine, this system always uses the names the US English layout gives
// the scan code behind each virtual key (numeric keypad keys as "Num ...",
// extended keys by their extended name). Keys the US layout maps to no
// scan code (mouse buttons, browser and media keys, IME keys, ...) stay
// nameless, so no text ever denotes them.
constexpr std::pair<int, std::string_view> kLayoutNames[] = {
    {0x03, "Break"},         // VK_CANCEL
    {0x0C, "Num 5"},         // VK_CLEAR
    {0x10, "Shift"},         // VK_SHIFT
    {0x11, "Ctrl"},          // VK_CONTROL
    {0x12, "Alt"},           // VK_MENU
    {0x13, "Pause"},         // VK_PAUSE
    {0x14, "Caps Lock"},     // VK_CAPITAL
    {0x2C, "Prnt Scrn"},     // VK_SNAPSHOT
    {0x5B, "Left Windows"},  // VK_LWIN
    {0x5C, "Right Windows"}, // VK_RWIN
    {0x5D, "Application"},   // VK_APPS
    {0x6A, "Num *"},         // VK_MULTIPLY
    {0x6B, "Num +"},         // VK_ADD
    {0x6D, "Num -"},         // VK_SUBTRACT
    {0x6E, "Num Del"},       // VK_DECIMAL
    {0x6F, "Num /"},         // VK_DIVIDE
    {0x90, "Num Lock"},      // VK_NUMLOCK
    {0x91, "Scroll Lock"},   // VK_SCROLL
    {0xA0, "Shift"},         // VK_LSHIFT
    {0xA1, "Right Shift"},   // VK_RSHIFT
    {0xA2, "Ctrl"},          // VK_LCONTROL
    {0xA3, "Right Ctrl"},    // VK_RCONTROL
    {0xA4, "Alt"},           // VK_LMENU
    {0xA5, "Right Alt"},     // VK_RMENU
    {0xBA, ";"},             // VK_OEM_1
    {0xBB, "="},             // VK_OEM_PLUS
    {0xBC, ","},             // VK_OEM_COMMA
    {0xBD, "-"},             // VK_OEM_MINUS
    {0xBE, "."},             // VK_OEM_PERIOD
    {0xBF, "/"},             // VK_OEM_2
    {0xC0, "`"},             // VK_OEM_3
    {0xDB, "["},             // VK_OEM_4
    {0xDC, "\\"},            // VK_OEM_5
    {0xDD, "]"},             // VK_OEM_6
    {0xDE, "'"},             // VK_OEM_7
    {0xE2, "\\"},            // VK_OEM_102
};

using NameTable = std::array<std::string_view, 256>;

constexpr NameTable BuildNames() {
    constexpr std::string_view kDigits[] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
    constexpr std::string_view kLetters[] = {"A", "B", "C", "D", "E", "F", "G", "H", "I",
                                             "J", "K", "L", "M", "N", "O", "P", "Q", "R",
                                             "S", "T", "U", "V", "W", "X", "Y", "Z"};
    constexpr std::string_view kFunctionKeys[] = {
        "F1",  "F2",  "F3",  "F4",  "F5",  "F6",  "F7",  "F8",  "F9",  "F10", "F11", "F12",
        "F13", "F14", "F15", "F16", "F17", "F18", "F19", "F20", "F21", "F22", "F23", "F24"};

    NameTable names{};
    for (const auto& [key, name] : kLayoutNames)
        names[key] = name;
    names[8] = "BkSp";
    names[9] = "Tab";
    names[13] = "Enter";
    names[27] = "Esc";
    names[32] = "Space";
    names[33] = "PgUp";
    names[34] = "PgDn";
    names[35] = "End";
    names[36] = "Home";
    names[37] = "Left";
    names[38] = "Up";
    names[39] = "Right";
    names[40] = "Down";
    names[45] = "Ins";
    names[46] = "Del";
    for (int i = 0; i < 10; ++i) {
        names[48 + i] = kDigits[i];
        names[96 + i] = kDigits[i];
    }
    for (int i = 0; i < 26; ++i)
        names[65 + i] = kLetters[i];
    for (int i = 0; i < 24; ++i)
        names[112 + i] = kFunctionKeys[i];
    return names;
}

constexpr NameTable kKeyNames = BuildNames();

bool StripPrefix(std::string_view& text, std::string_view prefix) {
    if (!StartsWithTextAscii(text, prefix))
        return false;
    text.remove_prefix(prefix.size());
    return true;
}

} // namespace

std::string_view KeyCaptionOf(int key) {
    if (key < 0 || key > 255)
        return {};
    return kKeyNames[static_cast<std::size_t>(key)];
}

std::string ShortcutCaption(TShortCut code) {
    std::string_view name = KeyCaptionOf(code & 0xFF);
    if (name.empty())
        return {};
    std::string caption;
    if (code & scShift)
        caption += "Shift+";
    if (code & scCtrl)
        caption += "Ctrl+";
    if (code & scAlt)
        caption += "Alt+";
    caption += name;
    return caption;
}

TShortCut ShortcutFromText(std::string_view text) {
    TShortCut modifiers = 0;
    for (;;) {
        if (StripPrefix(text, "Shift+"))
            modifiers |= scShift;
        else if (StripPrefix(text, "^"))
            modifiers |= scCtrl;
        else if (StripPrefix(text, "Ctrl+"))
            modifiers |= scCtrl;
        else if (StripPrefix(text, "Alt+"))
            modifiers |= scAlt;
        else
            break;
    }
    if (text.empty())
        return 0;
    // The search runs past 255 on purpose: codes above it carry the names of
    // their low 8 bits, so the lowest code with a matching name still wins.
    for (int code = 8; code <= 0x255; ++code)
        if (SameTextAscii(KeyCaptionOf(code & 0xFF), text))
            return static_cast<TShortCut>(code | modifiers);
    return 0;
}

const std::vector<std::string>& ShortcutEditorEntries() {
    static const std::vector<std::string> entries = [] {
        constexpr std::string_view kFunctionKeys[12] = {"F1", "F2", "F3", "F4",  "F5",  "F6",
                                                        "F7", "F8", "F9", "F10", "F11", "F12"};
        std::vector<std::string> list;
        list.reserve(109);
        list.emplace_back(kNoShortcutEntry);
        for (char c = 'A'; c <= 'Z'; ++c)
            list.push_back(std::string("Ctrl+") + c);
        for (char c = 'A'; c <= 'Z'; ++c)
            list.push_back(std::string("Ctrl+Alt+") + c);
        for (std::string_view prefix : {"", "Ctrl+", "Shift+", "Shift+Ctrl+"})
            for (std::string_view key : kFunctionKeys)
                list.push_back(std::string(prefix) + std::string(key));
        for (std::string_view key : {"Ins", "Del"})
            for (std::string_view prefix : {"", "Shift+", "Ctrl+"})
                list.push_back(std::string(prefix) + std::string(key));
        list.emplace_back("Alt+BkSp");
        list.emplace_back("Shift+Alt+BkSp");
        return list;
    }();
    return entries;
}

} // namespace trvx
