#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace trvx {

// A keyboard shortcut: the virtual key code in the low 8 bits plus the
// modifier bits below. 0 is no shortcut. Values keep shortcuts as text;
// the code only decides whether a text is a shortcut at all.
using TShortCut = std::uint16_t;

inline constexpr TShortCut scShift = 0x2000;
inline constexpr TShortCut scCtrl = 0x4000;
inline constexpr TShortCut scAlt = 0x8000;

// The name of a virtual key (0 to 255), empty when the key has no name.
std::string_view KeyCaptionOf(int key);

// "Shift+Ctrl+Alt+Name" in that fixed modifier order; empty when the key
// in the low 8 bits has no name.
std::string ShortcutCaption(TShortCut code);

// The shortcut a text denotes, 0 when it denotes none. Modifier prefixes
// ("Shift+", "Ctrl+", "^", "Alt+") may come in any order and repeat; the
// prefixes and the key name are compared ignoring case.
TShortCut ShortcutFromText(std::string_view text);

// The shortcut editor's list, in order: "(None)" followed by the 108
// common shortcuts.
const std::vector<std::string>& ShortcutEditorEntries();

inline constexpr std::string_view kNoShortcutEntry = "(None)";

} // namespace trvx
