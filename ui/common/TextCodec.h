#pragma once

#include "encoding/CodePage.h"

#include <QString>
#include <QVariant>

#include <string>
#include <string_view>

namespace tarvin {

// The tree keeps names, idents and texts as bytes of the file's code page;
// only the views see them as Unicode.
QString DecodeText(std::string_view bytes, const trvx::CodePage& codePage);

// Views show at most this many characters of one name or text: Qt lays a
// row's text out whole, and a line of megabytes freezes or crashes it.
inline constexpr std::size_t kShownChars = 500;

// The first kShownChars characters of bytes, with "…" when there are more.
QString ShownText(std::string_view bytes, const trvx::CodePage& codePage);
// The same for a text already decoded.
QString ShownText(const QString& text);
// The tooltip of a row whose text of length characters was cut: its full
// length. Null when nothing was cut.
QVariant CutTextTip(std::size_t length);
// A tooltip longer than this names the text's length instead of showing it.
inline constexpr std::size_t kWholeTipChars = 4096;
// The tooltip of a name or caption: the whole of it, or its length when long.
QVariant CaptionTip(std::string_view bytes, const trvx::CodePage& codePage);

// Encodes text for the tree. False, with *bad set to the first character the
// code page cannot hold, when there is one; out is then unspecified.
bool EncodeText(const QString& text, const trvx::CodePage& codePage, std::string& out,
                char32_t* bad = nullptr);

} // namespace tarvin
