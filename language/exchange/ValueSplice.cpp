#include "exchange/ValueSplice.h"

#include "editing/ValueKind.h"
#include "format/Quoting.h"

namespace trvx::exchange {

namespace {

bool IsLineBreak(char c) {
    return c == '\r' || c == '\n';
}

// After a bare text the reader needs a line break or a closing brace; a
// quoted string or list ends by itself, so whatever followed it on its line
// would otherwise join the new text.
bool RestOfLineEndsBareText(std::string_view text, std::size_t from) {
    for (std::size_t i = from; i < text.size() && !IsLineBreak(text[i]); ++i)
        if (!IsBlank(text[i]) && text[i] != '}')
            return false;
    return true;
}

void AppendQuotedLine(std::string& out, std::string_view line) {
    out += '"';
    AppendEscaped(out, line);
    out += '"';
}

// What stands after the '=' of a value holding value, in the writer's forms.
void AppendValueForm(std::string& out, std::string_view text, const TValueSpan& span,
                     std::string_view value) {
    const bool bareFits = !span.SelfEnding || RestOfLineEndsBareText(text, span.End);
    if (value.empty()) {
        if (!bareFits)
            out += " \"\"";
        return;
    }
    if (value.find_first_of("\r\n") == std::string_view::npos) {
        const bool plain = value.find_first_of("\"{}") == std::string_view::npos &&
                           !IsBlank(value.front()) && !IsBlank(value.back());
        out += ' ';
        if (plain && bareFits)
            out += value;
        else
            AppendQuotedLine(out, value);
        return;
    }
    std::size_t lineStart = span.Begin;
    while (lineStart > 0 && !IsLineBreak(text[lineStart - 1]))
        --lineStart;
    std::size_t indentEnd = lineStart;
    while (indentEnd < span.Begin && (text[indentEnd] == ' ' || text[indentEnd] == '\t'))
        ++indentEnd;
    const std::size_t pad = span.Begin - lineStart + 2; // the continuation lines align after " {"
    out += " {";
    bool first = true;
    for (const std::string& line : SplitItemLines(value)) {
        if (!first) {
            out += "\r\n";
            out.append(pad, ' ');
        }
        first = false;
        AppendQuotedLine(out, line);
    }
    out += "\r\n";
    out += text.substr(lineStart, indentEnd - lineStart);
    out += '}';
}

} // namespace

std::string SpliceValues(std::string_view text, const std::vector<TValueSpan>& spans,
                         const TNewTexts& newTexts) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    std::size_t copied = 0;
    std::size_t left = newTexts.size();
    for (const TValueSpan& span : spans) {
        if (left == 0)
            break;
        const auto it = newTexts.find({span.Node, span.Index});
        if (it == newTexts.end())
            continue;
        --left;
        out += text.substr(copied, span.Begin - copied);
        AppendValueForm(out, text, span, it->second);
        copied = span.End;
    }
    out += text.substr(copied);
    return out;
}

} // namespace trvx::exchange
