#include "ui/common/LineBreakMarks.h"

namespace tarvin {

QString MarkLineBreaks(QString text) {
    if (!text.contains(u'\r') && !text.contains(u'\n'))
        return text;
    text.replace(QStringLiteral("\r\n"), QString(LineBreakMark));
    text.replace(u'\r', LineBreakMark);
    text.replace(u'\n', LineBreakMark);
    return text;
}

} // namespace tarvin
