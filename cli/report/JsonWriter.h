#pragma once

#include <rapidjson/writer.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace trvx::cli {

// RapidJSON's output stream over a string: a whole report, or the buffer a
// TTextSink flushes now and then.
class TJsonBuffer {
public:
    using Ch = char;
    explicit TJsonBuffer(std::string& out) : m_out(out) {}
    void Put(char c) { m_out += c; }
    void Flush() {}
    std::string& Out() { return m_out; }

private:
    std::string& m_out;
};

// RapidJSON's Writer keeps the nesting and the commas; this adds the two
// layouts trvx writes and its own string escaping, which keeps control
// characters as lower-case \u00xx (the reports always had them so, and
// scripts compare them) and replaces malformed UTF-8.
//
// Compact: no white space at all. Report: a line for each member of the root
// object and for each element of an array in it, ": " and ", " within a
// line. Neither ends the text with a line break.
class TJsonWriter : private rapidjson::Writer<TJsonBuffer> {
public:
    enum class TLayout { Compact, Report };
    TJsonWriter(std::string& out, TLayout layout);

    void StartObject();
    void EndObject();
    void StartArray();
    void EndArray();
    // A member's name, written as it is: names are ours, plain ASCII.
    void Key(std::string_view name);
    void String(std::string_view utf8);
    void Null();
    void Bool(bool value);
    void Int64(std::int64_t value);
    // A number with exactly decimals digits after the point ("0.5000").
    void Fixed(double value, int decimals);
    // A member and its value at once.
    void Member(std::string_view name, std::string_view utf8) {
        Key(name);
        String(utf8);
    }
    void Member(std::string_view name, std::int64_t value) {
        Key(name);
        Int64(value);
    }

    // A string whose characters write calls for, the quotes written here.
    template <class TWrite> void StringWith(TWrite&& write) {
        Separate();
        m_buffer.Out() += '"';
        write(m_buffer.Out());
        m_buffer.Out() += '"';
        EndValue(true);
    }

private:
    using Base = rapidjson::Writer<TJsonBuffer>;
    // RapidJSON's Prefix, with the layout's white space.
    void Separate();
    bool Breaks() const;
    void NewLine(std::size_t depth);
    void End(bool array);

    TJsonBuffer m_buffer;
    TLayout m_layout;
};

} // namespace trvx::cli
