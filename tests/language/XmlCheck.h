#pragma once

#include "encoding/Utf8.h"

#include <pugixml.hpp>

#include <functional>
#include <map>
#include <set>
#include <string>
#include <string_view>

namespace trvx::test {

// XML 1.0 well-formedness of the reports we write. pugixml parses the tags;
// what it lets pass is checked here on the raw values: one root element, no
// repeated attribute, known entities only, valid UTF-8 and no character XML
// forbids, raw or referenced. Counts the elements by name. Returns "" when
// well-formed, else what is wrong.
inline std::string CheckXml(std::string_view xml, std::map<std::string, int>* elements = nullptr) {
    pugi::xml_document doc;
    const unsigned options = (pugi::parse_default | pugi::parse_declaration) &
                             ~(pugi::parse_escapes | pugi::parse_eol | pugi::parse_wconv_attribute);
    const pugi::xml_parse_result parsed =
        doc.load_buffer(xml.data(), xml.size(), options, pugi::encoding_utf8);
    if (!parsed)
        return std::string(parsed.description()) + " at byte " + std::to_string(parsed.offset);

    auto allowed = [](unsigned long ch) {
        return ch == 9 || ch == 10 || ch == 13 || (ch >= 0x20 && ch <= 0xD7FF) ||
               (ch >= 0xE000 && ch <= 0xFFFD) || (ch >= 0x10000 && ch <= 0x10FFFF);
    };
    auto checkValue = [&](std::string_view raw) -> std::string {
        for (std::size_t i = 0; i < raw.size();) {
            if (raw[i] == '<')
                return "'<' in a value";
            if (raw[i] == '&') {
                const std::size_t end = raw.find(';', i);
                if (end == std::string_view::npos)
                    return "unterminated entity";
                const std::string_view entity = raw.substr(i + 1, end - i - 1);
                if (entity.starts_with("#")) {
                    const bool hex = entity.starts_with("#x");
                    const std::string digits(entity.substr(hex ? 2 : 1));
                    if (digits.empty() ||
                        digits.find_first_not_of(hex ? "0123456789abcdefABCDEF" : "0123456789") !=
                            std::string::npos)
                        return "bad character reference";
                    if (!allowed(std::stoul(digits, nullptr, hex ? 16 : 10)))
                        return "reference to a forbidden character";
                } else if (entity != "amp" && entity != "lt" && entity != "gt" &&
                           entity != "quot" && entity != "apos") {
                    return "unknown entity &" + std::string(entity) + ";";
                }
                i = end + 1;
                continue;
            }
            const std::size_t start = i;
            const char32_t ch = NextValidUtf8(raw, i);
            if (ch == kReplacementChar && raw.substr(start, i - start) != "\xEF\xBF\xBD")
                return "bad UTF-8";
            if (!allowed(ch))
                return "forbidden character";
        }
        return "";
    };

    int roots = 0;
    for (const pugi::xml_node node : doc.children()) {
        if (node.type() == pugi::node_element)
            ++roots;
        else if (node.type() == pugi::node_pcdata)
            return "text outside the root";
    }
    if (roots != 1)
        return roots ? "second root element" : "no root element";

    std::string error;
    struct TWalker : pugi::xml_tree_walker {
        std::function<bool(pugi::xml_node)> visit;
        bool for_each(pugi::xml_node& node) override { return visit(node); }
    } walker;
    walker.visit = [&](pugi::xml_node node) {
        if (node.type() == pugi::node_pcdata) {
            error = checkValue(node.value());
            return error.empty();
        }
        if (node.type() != pugi::node_element)
            return true;
        if (elements)
            ++(*elements)[node.name()];
        std::set<std::string_view> names;
        for (const pugi::xml_attribute attribute : node.attributes()) {
            if (!names.insert(attribute.name()).second)
                error = "repeated attribute " + std::string(attribute.name());
            else
                error = checkValue(attribute.value());
            if (!error.empty())
                return false;
        }
        return true;
    };
    doc.traverse(walker);
    return error;
}

} // namespace trvx::test
