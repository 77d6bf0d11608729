#include "language/Tarvin.h"

#include "language/Errors.h"
#include "language/FileIO.h"
#include "language/Reader.h"
#include "language/Writer.h"

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
        ParseLanguageText(m_root, text, &m_losses, spans);
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

void TTarvin::SaveToStream(std::ostream& stream) const {
    TTextSink sink([&](std::string_view bytes) {
        stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!stream)
            throw EWriteError(errno);
    });
    WriteTree(m_root, sink);
    stream.flush();
    if (!stream)
        throw EWriteError(errno);
}

std::string TTarvin::SaveToText() const {
    std::string all;
    TTextSink sink([&](std::string_view bytes) { all += bytes; });
    WriteTree(m_root, sink);
    return all;
}

void TTarvin::SaveToFile(const std::string& fileName) const {
    SaveFileAtomically(fileName, [&](const WriteBytes& write) {
        TTextSink sink(write);
        WriteTree(m_root, sink);
    });
}

int TTarvin::LangId() const {
    const CodePage& ascii = CodePage::Get(1252);
    int info = m_root.IndexOfChild("INFO", ascii);
    if (info < 0)
        return 0;
    const TTarvinItem& node = m_root.GetChild(info);
    int v = node.IndexOfValue("LangID", ascii);
    if (v < 0)
        return 0;
    std::string_view text = node.ValueText(v);
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

const CodePage& TTarvin::GetCodePage() const {
    int cp = CodePage::ForLangId(LangId());
    return cp ? CodePage::Get(cp) : CodePage::Default();
}

} // namespace trvx
