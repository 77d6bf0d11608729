#pragma once

#include <QString>

namespace tarvin {

// A name or ident shown in one row: each line break (CR LF, lone CR or lone
// LF) becomes a visible mark, so what follows it is not silently cut off.
QString MarkLineBreaks(QString text);
inline constexpr char16_t LineBreakMark = u'\u21B5';

} // namespace tarvin
