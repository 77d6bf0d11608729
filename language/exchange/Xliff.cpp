#include "exchange/ExportUnits.h"
#include "format/FileIO.h"
#include "tree/Errors.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cstring>
#include <deque>

namespace trvx::exchange {

namespace {

class TXmlWriter : public pugi::xml_writer {
public:
    explicit TXmlWriter(std::string& out) : m_out(out) {}
    void write(const void* data, std::size_t size) override {
        m_out.append(static_cast<const char*>(data), size);
    }

private:
    std::string& m_out;
};

constexpr std::size_t kChunk = std::size_t{4} << 20;
constexpr std::string_view kBodyMark = "@units@";

std::string_view LocalName(const char* name) {
    const char* colon = std::strrchr(name, ':');
    return colon ? colon + 1 : name;
}

// Inline markers a CAT tool may wrap around text; anything else inline
// stands for something a language text cannot hold.
bool IsTextWrapper(std::string_view name) {
    return name == "mrk" || name == "g";
}

} // namespace

void ExportXliff(const TTarvin& translation, const TTarvin* reference,
                 const TExportOptions& options, const WriteBytes& write) {
    std::string out;
    TXmlWriter writer(out);

    // The envelope goes through pugixml too; the units are printed one by
    // one where the mark stands, so no document of the whole file is built.
    pugi::xml_document envelope;
    auto decl = envelope.append_child(pugi::node_declaration);
    decl.append_attribute("version") = "1.0";
    decl.append_attribute("encoding") = "UTF-8";
    auto xliff = envelope.append_child("xliff");
    xliff.append_attribute("version") = "1.2";
    xliff.append_attribute("xmlns") = "urn:oasis:names:tc:xliff:document:1.2";
    auto file = xliff.append_child("file");
    file.append_attribute("original") = options.Original.c_str();
    file.append_attribute("source-language") =
        options.SourceLanguage.empty() ? "en" : options.SourceLanguage.c_str();
    if (!options.TargetLanguage.empty())
        file.append_attribute("target-language") = options.TargetLanguage.c_str();
    file.append_attribute("datatype") = "plaintext";
    auto body = file.append_child("body");
    body.text() = std::string(kBodyMark).c_str();
    envelope.save(writer, "  ", pugi::format_default, pugi::encoding_utf8);
    const std::size_t mark = out.rfind(kBodyMark);
    const std::string tail = out.substr(mark + kBodyMark.size());
    out.resize(mark);
    out += '\n';

    pugi::xml_document unitDoc;
    std::string note;
    ForEachExportedUnit(translation, reference, [&](const TUnit& unit) {
        unitDoc.reset();
        auto tu = unitDoc.append_child("trans-unit");
        tu.append_attribute("id").set_value(unit.Id.data(), unit.Id.size());
        tu.append_attribute("xml:space") = "preserve";
        if (unit.Kind == vkShortcut)
            tu.append_attribute("translate") = "no";
        // Text equal to the reference's is likely not translated yet.
        const bool done = !unit.FromReference || unit.Source != unit.Target;
        if (done)
            tu.append_attribute("approved") = "yes";
        tu.append_child("source").text().set(std::string(unit.Source).c_str());
        auto target = tu.append_child("target");
        target.append_attribute("state") = done ? "translated" : "needs-translation";
        target.text().set(std::string(unit.Target).c_str());
        note = UnitNote(unit);
        tu.append_child("note").text().set(note.c_str());
        unitDoc.first_child().print(writer, "  ", pugi::format_default, pugi::encoding_utf8, 3);
        if (out.size() >= kChunk) {
            write(out);
            out.clear();
        }
    });
    out += "    ";
    out += tail;
    write(out);
}

namespace {

class TXliffDocument : public TExchangeDocument {
public:
    explicit TXliffDocument(const std::string& fileName) {
        m_bytes = ReadWholeFile(fileName);
        const auto result = m_doc.load_buffer_inplace(
            m_bytes.Data(), m_bytes.Size(), pugi::parse_default | pugi::parse_ws_pcdata_single,
            pugi::encoding_auto);
        if (!result)
            throw EExchangeError(fileName + ":" + Position(fileName, result.offset) + ": " +
                                 result.description());
        if (LocalName(m_doc.document_element().name()) != "xliff")
            throw EExchangeError(fileName + ": not an XLIFF file (its root element is <" +
                                 m_doc.document_element().name() + ">)");
        Collect(fileName);
    }

private:
    // Lines and columns count from 1, as editors show them. The parse
    // changed the bytes in place: the file is read again for its lines.
    static std::string Position(const std::string& fileName, std::ptrdiff_t offset) {
        const TByteBuffer original = ReadWholeFile(fileName);
        const std::string_view before(original.Data(),
                                      std::min(original.Size(), static_cast<std::size_t>(offset)));
        const std::size_t line =
            static_cast<std::size_t>(std::count(before.begin(), before.end(), '\n')) + 1;
        const std::size_t lastBreak = before.rfind('\n');
        const std::size_t column =
            offset - (lastBreak == std::string_view::npos ? 0 : lastBreak + 1) + 1;
        return std::to_string(line) + ":" + std::to_string(column);
    }

    void Collect(const std::string& fileName) {
        for (pugi::xml_node node = m_doc.first_child(); node;) {
            if (node.type() == pugi::node_element && LocalName(node.name()) == "trans-unit") {
                AddUnit(fileName, node);
            } else if (node.first_child()) {
                node = node.first_child();
                continue;
            }
            while (node && !node.next_sibling())
                node = node.parent();
            if (node)
                node = node.next_sibling();
        }
    }

    void AddUnit(const std::string& fileName, pugi::xml_node unit) {
        if (std::string_view(unit.attribute("restype").value()) == "x-gettext-domain-header")
            return; // po2xliff's copy of a PO header
        const char* id = unit.attribute("id").value();
        pugi::xml_node target;
        for (pugi::xml_node child : unit.children()) {
            const std::string_view name = LocalName(child.name());
            if (name == "target")
                target = child;
            else if (name == "context-group")
                id = LocationOrId(child, id);
        }
        if (!target)
            return;
        const pugi::xml_node only = target.first_child();
        if (!only) {
            m_units.push_back({id, {}});
        } else if (!only.next_sibling() && only.type() == pugi::node_pcdata) {
            m_units.push_back({id, only.value()}); // the common case: a view into the document
        } else {
            std::string& text = m_texts.emplace_back();
            AppendText(fileName, id, target, text);
            m_units.push_back({id, text});
        }
    }

    // po2xliff numbers its units and keeps the PO reference, which holds
    // the id xliff2po took from this tool's file, as a location cut at its
    // first ':' into "sourcefile" and "linenumber".
    const char* LocationOrId(pugi::xml_node group, const char* id) {
        if (std::string_view(group.attribute("purpose").value()) != "location")
            return id;
        std::string location =
            group.find_child_by_attribute("context-type", "sourcefile").child_value();
        if (location.empty())
            return id;
        if (const char* line =
                group.find_child_by_attribute("context-type", "linenumber").child_value();
            *line)
            location = location + ":" + line;
        return m_texts.emplace_back(LocationId(location)).c_str();
    }

    void AppendText(const std::string& fileName, std::string_view id, pugi::xml_node node,
                    std::string& text) {
        for (pugi::xml_node child : node.children()) {
            if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) {
                text += child.value();
            } else if (child.type() == pugi::node_element) {
                if (!IsTextWrapper(LocalName(child.name())))
                    throw EExchangeError(fileName + ": unit \"" + std::string(id) +
                                         "\": the target holds <" + child.name() +
                                         ">, which a language file cannot carry");
                AppendText(fileName, id, child, text);
            }
        }
    }

    TByteBuffer m_bytes; // the document's strings point into it
    pugi::xml_document m_doc;
    std::deque<std::string> m_texts;
};

} // namespace

std::unique_ptr<TExchangeDocument> ReadXliff(const std::string& fileName) {
    return std::make_unique<TXliffDocument>(fileName);
}

} // namespace trvx::exchange
