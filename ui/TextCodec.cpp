#include "ui/TextCodec.h"

namespace tarvin {

QString DecodeText(std::string_view bytes, const trvx::CodePage& codePage) {
    if (codePage.IsDoubleByte())
        return QString::fromStdString(codePage.ToUtf8(bytes));
    QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char c : bytes) {
        // Every single-byte Windows code page maps into the Basic Multilingual Plane.
        *out++ = QChar(static_cast<char16_t>(codePage.Decode(static_cast<unsigned char>(c))));
    }
    return text;
}

bool EncodeText(const QString& text, const trvx::CodePage& codePage, std::string& out,
                char32_t* bad) {
    out.clear();
    return codePage.FromUtf8(text.toStdString(), out, bad);
}

} // namespace tarvin
