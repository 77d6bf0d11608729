#pragma once

#include <cctype>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace trvx::test {

// A small XML 1.0 well-formedness check for the reports we write: UTF-8,
// one root element, balanced tags, quoted attributes, known entities, no
// characters XML forbids. Counts the elements by name. Returns "" when
// well-formed, else what is wrong.
inline std::string CheckXml(std::string_view xml, std::map<std::string, int>* elements = nullptr) {
    std::size_t i = 0;
    auto fail = [&](const std::string& what) { return what + " at byte " + std::to_string(i); };
    auto isNameChar = [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-' || c == ':' ||
               c == '.';
    };
    // A character (raw or referenced) must be one XML allows.
    auto allowed = [](unsigned long ch) {
        return ch == 9 || ch == 10 || ch == 13 || (ch >= 0x20 && ch <= 0xD7FF) ||
               (ch >= 0xE000 && ch <= 0xFFFD) || (ch >= 0x10000 && ch <= 0x10FFFF);
    };
    // Reads text up to stop (exclusive), checking entities and characters.
    auto text = [&](char stop) -> std::string {
        while (i < xml.size() && xml[i] != stop && xml[i] != '<') {
            const auto c = static_cast<unsigned char>(xml[i]);
            if (c == '&') {
                const std::size_t end = xml.find(';', i);
                if (end == std::string_view::npos)
                    return fail("unterminated entity");
                const std::string_view entity = xml.substr(i + 1, end - i - 1);
                if (entity.starts_with("#")) {
                    const bool hex = entity.starts_with("#x");
                    const std::string digits(entity.substr(hex ? 2 : 1));
                    if (digits.empty() ||
                        digits.find_first_not_of(hex ? "0123456789abcdefABCDEF" : "0123456789") !=
                            std::string::npos)
                        return fail("bad character reference");
                    if (!allowed(std::stoul(digits, nullptr, hex ? 16 : 10)))
                        return fail("reference to a forbidden character");
                } else if (entity != "amp" && entity != "lt" && entity != "gt" &&
                           entity != "quot" && entity != "apos") {
                    return fail("unknown entity");
                }
                i = end + 1;
                continue;
            }
            // UTF-8 sequence
            int extra = c < 0x80         ? 0
                        : (c >> 5) == 6  ? 1
                        : (c >> 4) == 14 ? 2
                        : (c >> 3) == 30 ? 3
                                         : -1;
            if (extra < 0 || i + extra >= xml.size())
                return fail("bad UTF-8");
            unsigned long ch = extra ? (c & (0x3F >> extra)) : c;
            for (int k = 1; k <= extra; ++k) {
                const auto b = static_cast<unsigned char>(xml[i + k]);
                if ((b & 0xC0) != 0x80)
                    return fail("bad UTF-8");
                ch = ch << 6 | (b & 0x3F);
            }
            if (!allowed(ch))
                return fail("forbidden character");
            i += extra + 1;
        }
        return "";
    };
    if (xml.starts_with("<?xml")) {
        i = xml.find("?>");
        if (i == std::string_view::npos)
            return "unterminated declaration";
        i += 2;
    }
    std::vector<std::string> open;
    bool rootSeen = false;
    while (i < xml.size()) {
        if (xml[i] != '<') {
            if (open.empty() && !std::isspace(static_cast<unsigned char>(xml[i])))
                return fail("text outside the root");
            if (std::string e = text('<'); !e.empty())
                return e;
            continue;
        }
        ++i;
        const bool closing = i < xml.size() && xml[i] == '/';
        if (closing)
            ++i;
        const std::size_t nameStart = i;
        while (i < xml.size() && isNameChar(xml[i]))
            ++i;
        const std::string name(xml.substr(nameStart, i - nameStart));
        if (name.empty())
            return fail("tag without a name");
        if (closing) {
            if (open.empty() || open.back() != name)
                return fail("unbalanced </" + name + ">");
            open.pop_back();
            if (i >= xml.size() || xml[i] != '>')
                return fail("bad end tag");
            ++i;
            continue;
        }
        if (open.empty() && rootSeen)
            return fail("second root element");
        rootSeen = true;
        if (elements)
            ++(*elements)[name];
        std::vector<std::string> attributes;
        for (;;) {
            while (i < xml.size() && std::isspace(static_cast<unsigned char>(xml[i])))
                ++i;
            if (i >= xml.size())
                return fail("unterminated tag");
            if (xml[i] == '>' || xml.substr(i, 2) == "/>")
                break;
            const std::size_t a = i;
            while (i < xml.size() && isNameChar(xml[i]))
                ++i;
            const std::string attribute(xml.substr(a, i - a));
            if (attribute.empty() || xml.substr(i, 2) != "=\"")
                return fail("bad attribute");
            for (const auto& seen : attributes)
                if (seen == attribute)
                    return fail("repeated attribute");
            attributes.push_back(attribute);
            i += 2;
            if (std::string e = text('"'); !e.empty())
                return e;
            if (i >= xml.size() || xml[i] != '"')
                return fail("'<' in an attribute");
            ++i;
        }
        if (xml[i] == '>') {
            open.push_back(name);
            ++i;
        } else {
            i += 2;
        }
    }
    if (!open.empty())
        return "unclosed <" + open.back() + ">";
    return rootSeen ? "" : "no root element";
}

} // namespace trvx::test
