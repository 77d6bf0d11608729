#include "document/Tarvin.h"

#include "document/OpenFile.h"
#include "format/FileIO.h"
#include "format/FileWindows.h"
#include "format/Reader.h"
#include "format/Writer.h"
#include "tree/Errors.h"

#include <cerrno>
#include <cstring>
#include <istream>
#include <iterator>
#include <ostream>

namespace trvx {

TTarvin::~TTarvin() = default;

void TTarvin::LoadFromText(std::string_view text) {
    // Copied whole, so that the load can tell what a NUL cuts off.
    TByteBuffer buffer(text.size());
    if (!text.empty())
        std::memcpy(buffer.Data(), text.data(), text.size());
    LoadFromBuffer(std::move(buffer));
}

void TTarvin::LoadFromBuffer(TByteBuffer buffer, std::vector<TValueSpan>* spans) {
    Read(std::move(buffer), [&](std::string_view text) {
        ParseLanguageText(m_root, text, &m_losses, spans, m_arena.HelperResource());
    });
}

void TTarvin::ReadIntoSink(TByteBuffer buffer, TLanguageSink& sink) {
    Read(std::move(buffer),
         [&](std::string_view text) { ParseLanguageText(sink, text, &m_losses); });
}

void TTarvin::ReadIntoSink(TFileWindows& file, TLanguageSink& sink) {
    m_root.Clear();
    m_arena.Release();
    m_buffer = TByteBuffer();
    m_losses.clear();
    file.FindByteOrderMark(m_losses);
    try {
        ParseLanguageText(sink, file, &m_losses);
    } catch (...) {
        // As after a whole read; the read's own error is the one to tell.
        try {
            file.FindNulLoss(m_losses);
        } catch (...) {
        }
        throw;
    }
    file.FindNulLoss(m_losses);
}

template <class Parse> void TTarvin::Read(TByteBuffer buffer, const Parse& parse) {
    // The old nodes live in the arena and borrow from the old buffer: they
    // go first.
    m_root.Clear();
    m_arena.Release();
    m_buffer = std::move(buffer);
    const std::string_view input(m_buffer.Data(), m_buffer.Size());
    const std::string_view text = CutAtNul(input);
    m_losses.clear();
    FindByteOrderMark(input, m_losses);
    // A NUL ends the text: it comes after whatever the reader finds.
    auto finish = [&] {
        FindNulLoss(input, m_losses);
        ResolvePositions(text, m_losses);
    };
    try {
        parse(text);
    } catch (...) {
        finish();
        throw;
    }
    finish();
}

void TTarvin::LoadFromStream(std::istream& stream) {
    std::string all{std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
    LoadFromText(all);
}

void TTarvin::LoadFromFile(const std::string& fileName) {
    LoadFromBuffer(ReadWholeFile(fileName));
}

void TTarvin::SaveToStream(std::ostream& stream, const TWriteFilter* skip) const {
    TTextSink sink([&](std::string_view bytes) {
        stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!stream)
            throw EWriteError(errno);
    });
    WriteTree(m_root, sink, skip);
    stream.flush();
    if (!stream)
        throw EWriteError(errno);
}

std::string TTarvin::SaveToText(const TWriteFilter* skip) const {
    std::string all;
    TTextSink sink([&](std::string_view bytes) { all += bytes; });
    WriteTree(m_root, sink, skip);
    return all;
}

void TTarvin::SaveToFile(const std::string& fileName, const TWriteFilter* skip) const {
    SaveFileAtomically(
        fileName,
        [&](const WriteBytes& write) {
            TTextSink sink(write);
            WriteTree(m_root, sink, skip);
        },
        WrittenSizeAtLeast(m_root));
}

const TTarvinItem* TTarvin::InfoSection() const {
    constexpr std::string_view kBom = "\xEF\xBB\xBF";
    const auto children = m_root.Children();
    for (std::size_t i = 0; i < children.size(); ++i) {
        std::string_view name = children[i].Name.View();
        // The host would miss INFO behind a mark, but the file's language is still plain to see.
        if (i == 0 && name.starts_with(kBom))
            name.remove_prefix(kBom.size());
        if (SameTextAscii(name, "INFO"))
            return children[i].Item.get();
    }
    return nullptr;
}

int TTarvin::LangIdIndex() const {
    const TTarvinItem* info = InfoSection();
    return info ? info->IndexOfValue("LangID", CodePage::Get(1252)) : -1;
}

int TTarvin::LangId() const {
    const int v = LangIdIndex();
    if (v < 0)
        return 0;
    std::string_view text = InfoSection()->ValueText(v);
    int base = 10;
    if (text.starts_with("$")) {
        text.remove_prefix(1);
        base = 16;
    } else if (text.starts_with("0x") || text.starts_with("0X")) {
        text.remove_prefix(2);
        base = 16;
    }
    long id = 0;
    for (char c : text) {
        int digit = (c >= '0' && c <= '9')   ? c - '0'
                    : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                    : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                                             : 99;
        if (digit >= base || id > 0xFFFF)
            return 0;
        id = id * base + digit;
    }
    return id <= 0xFFFF ? static_cast<int>(id) : 0;
}

TTarvin::TCodePageSource TTarvin::CodePageSource() const {
    if (CodePage::IsSupported(m_codePageOverride))
        return TCodePageSource::Override;
    if (LangIdIndex() < 0)
        return TCodePageSource::Locale;
    const int cp = CodePage::ForLangId(LangId());
    return cp < 0    ? TCodePageSource::UnknownLangId
           : cp == 0 ? TCodePageSource::Locale
                     : TCodePageSource::LangId;
}

const CodePage& TTarvin::GetCodePage() const {
    switch (CodePageSource()) {
    case TCodePageSource::Override:
        return CodePage::Get(m_codePageOverride);
    case TCodePageSource::LangId:
        return CodePage::Get(CodePage::ForLangId(LangId()));
    case TCodePageSource::Locale:
    case TCodePageSource::UnknownLangId:
        break;
    }
    return CodePage::Default();
}

std::string TTarvin::CodePageWarning() const {
    if (CodePageSource() != TCodePageSource::UnknownLangId)
        return {};
    const std::string_view text = InfoSection()->ValueText(LangIdIndex());
    return "LangID " + CodePage::Default().ToUtf8(text.substr(0, 20)) +
           " is not a Windows language id; texts are read as " + CodePage::Default().Name() +
           ", the locale's code page";
}

} // namespace trvx
