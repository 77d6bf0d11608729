#include "ui/common/TextCodec.h"

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

QString ShownText(std::string_view bytes, const trvx::CodePage& codePage) {
    // One byte is one character in every code page of the tree.
    if (bytes.size() <= kShownChars)
        return DecodeText(bytes, codePage);
    return DecodeText(bytes.substr(0, kShownChars), codePage) + QChar(0x2026);
}

QString ShownText(const QString& text) {
    if (static_cast<std::size_t>(text.size()) <= kShownChars)
        return text;
    return text.left(static_cast<qsizetype>(kShownChars)) + QChar(0x2026);
}

QVariant CutTextTip(std::size_t length) {
    if (length <= kShownChars)
        return {};
    return QStringLiteral("%L1 characters; the first %L2 are shown").arg(length).arg(kShownChars);
}

QVariant CaptionTip(std::string_view bytes, const trvx::CodePage& codePage) {
    if (bytes.size() > kWholeTipChars)
        return CutTextTip(bytes.size());
    return DecodeText(bytes, codePage);
}

bool EncodeText(const QString& text, const trvx::CodePage& codePage, std::string& out,
                char32_t* bad) {
    out.clear();
    return codePage.FromUtf8(text.toStdString(), out, bad);
}

} // namespace tarvin
