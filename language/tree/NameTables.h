#pragma once

#include <array>
#include <string_view>

namespace trvx {

inline constexpr std::array<std::string_view, 3> SectionNames = {"INFO", "OBJECTS", "STRINGS"};

inline constexpr std::array<std::string_view, 7> ValueIdents = {
    "Caption", "Hint", "Shortcut", "Title", "Items", "Strings", "Lines"};

inline constexpr std::array<std::string_view, 13> ControlPrefixNames = {
    "Action:", "Menu:",     "Toolbar:",  "Button:",   "Label:",       "Form:", "List:",
    "Tab:",    "ComboBox:", "GroupBox:", "CheckBox:", "RadioButton:", "Edit:"};

inline constexpr std::array<std::string_view, 5> InfoIdents = {"Author", "Email", "LangID",
                                                               "Language", "Version"};

} // namespace trvx
