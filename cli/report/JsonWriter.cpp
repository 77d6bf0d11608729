#include "cli/report/JsonWriter.h"

#include "encoding/TextEscape.h"

#include <cstdio>

namespace trvx::cli {

TJsonWriter::TJsonWriter(std::string& out, TLayout layout) : m_buffer(out), m_layout(layout) {
    Reset(m_buffer);
}

bool TJsonWriter::Breaks() const {
    if (m_layout == TLayout::Compact)
        return false;
    const std::size_t depth = level_stack_.GetSize() / sizeof(Level);
    return depth == 1 || (depth == 2 && level_stack_.template Top<Level>()->inArray);
}

void TJsonWriter::NewLine(std::size_t depth) {
    m_buffer.Out() += '\n';
    m_buffer.Out().append(2 * depth, ' ');
}

void TJsonWriter::Separate() {
    if (level_stack_.Empty()) {
        Prefix(rapidjson::kObjectType); // the root: RapidJSON's own check that there is one
        return;
    }
    Level* level = level_stack_.template Top<Level>();
    const bool spaced = m_layout == TLayout::Report;
    if (!level->inArray && level->valueCount % 2 == 1) {
        m_buffer.Out() += spaced ? ": " : ":";
    } else {
        if (level->valueCount > 0)
            m_buffer.Put(',');
        if (Breaks())
            NewLine(level_stack_.GetSize() / sizeof(Level));
        else if (spaced && level->valueCount > 0)
            m_buffer.Put(' ');
    }
    ++level->valueCount;
}

void TJsonWriter::StartObject() {
    Separate();
    new (level_stack_.template Push<Level>()) Level(false);
    WriteStartObject();
}

void TJsonWriter::StartArray() {
    Separate();
    new (level_stack_.template Push<Level>()) Level(true);
    WriteStartArray();
}

void TJsonWriter::End(bool array) {
    if (Breaks() && level_stack_.template Top<Level>()->valueCount > 0)
        NewLine(level_stack_.GetSize() / sizeof(Level) - 1);
    if (array)
        Base::EndArray();
    else
        Base::EndObject();
}

void TJsonWriter::EndObject() {
    End(false);
}

void TJsonWriter::EndArray() {
    End(true);
}

void TJsonWriter::Key(std::string_view name) {
    Separate();
    std::string& out = m_buffer.Out();
    out += '"';
    out += name;
    out += '"';
}

void TJsonWriter::String(std::string_view utf8) {
    Separate();
    AppendJsonString(m_buffer.Out(), utf8);
    EndValue(true);
}

void TJsonWriter::Null() {
    Separate();
    EndValue(WriteNull());
}

void TJsonWriter::Bool(bool value) {
    Separate();
    EndValue(WriteBool(value));
}

void TJsonWriter::Int64(std::int64_t value) {
    Separate();
    EndValue(WriteInt64(value));
}

void TJsonWriter::Fixed(double value, int decimals) {
    char buf[32];
    const int length = std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
    Separate();
    EndValue(WriteRawValue(buf, static_cast<std::size_t>(length)));
}

} // namespace trvx::cli
