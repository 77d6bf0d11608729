#pragma once

#include "language/CodePage.h"

#include <QString>

#include <string>
#include <string_view>

namespace tarvin {

// The tree keeps names, idents and texts as bytes of the file's code page;
// only the views see them as Unicode.
QString DecodeText(std::string_view bytes, const trvx::CodePage& codePage);

// Encodes text for the tree. False, with *bad set to the first character the
// code page cannot hold, when there is one; out is then unspecified.
bool EncodeText(const QString& text, const trvx::CodePage& codePage, std::string& out,
                char32_t* bad = nullptr);

} // namespace tarvin
