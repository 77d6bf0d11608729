#include "document/Tarvin.h"
#include "tests/cli/TrvxRun.h"
#include "tests/language/PeFixtures.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <random>
#include <regex>

namespace trvx {
namespace {

namespace fs = std::filesystem;
using test::RunShell;
using test::RunTrvx;

const fs::path kSource = fs::path(TARVIN_SOURCE_DIR);
const std::string kLconvert = "/usr/lib/qt6/bin/lconvert";

std::size_t Count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

// The elements an XPath query selects in an XML file.
std::size_t CountXml(const std::string& xml, const char* xpath) {
    pugi::xml_document doc;
    const pugi::xml_parse_result parsed = doc.load_buffer(xml.data(), xml.size());
    EXPECT_TRUE(parsed) << parsed.description();
    return doc.select_nodes(xpath).size();
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    EXPECT_EQ(text.find(from, at + 1), std::string::npos) << from << " is not unique";
    return text.replace(at, from.size(), to);
}

// A random translation, the same for the same variant: names that repeat among siblings, texts with
// quotes, braces, blanks at either end, line breaks and bytes above 127.
std::string RandomTranslation(unsigned variant) {
    std::mt19937 rng(variant);
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    const char* const names[] = {"Form:frmA", "Button:btnOK", "Menu:mnuFile", "List:lst", "X"};
    const char* const idents[] = {"Caption", "Hint", "Shortcut", "Items", "Strings", "Lines"};
    const std::string alphabet = "abc XYZ\"{}\t=&\xE4\xF6\xDF\x80\x81";
    TTarvin tree;
    std::vector<TTarvinItem*> nodes{&tree.Root().AddChild("INFO")};
    nodes.back()->AddValue("LangID", "1031");
    for (int i = 0; i < 120; ++i) {
        TTarvinItem& node =
            nodes[static_cast<std::size_t>(pick(static_cast<int>(nodes.size())))]->AddChild(
                names[pick(5)]);
        nodes.push_back(&node);
        for (int v = pick(4); v > 0; --v) {
            std::string text;
            for (int c = pick(12); c > 0; --c)
                text += pick(8) == 0
                            ? std::string("\r\n")
                            : std::string(1, alphabet[pick(static_cast<int>(alphabet.size()))]);
            node.AddValue(idents[pick(6)], text);
        }
    }
    return tree.SaveToText();
}

class Exchange : public testing::Test {
protected:
    void Put(const std::string& name, const std::string& bytes) {
        test::WriteBytes(m_dir / name, bytes);
    }
    std::string Get(const std::string& name) { return test::ReadBytes(m_dir / name); }
    test::TTrvxResult Trvx(const std::string& args) { return RunTrvx(m_dir.Path(), args); }
    test::TTrvxResult Shell(const std::string& command) { return RunShell(m_dir.Path(), command); }
    void CopyExample(const std::string& name) {
        fs::copy_file(kSource / "examples" / name, m_dir / name);
    }

    test::TScratchDir m_dir;
};

// Export followed by an import of the untouched file gives the same bytes,
// whatever the layout, and every unit finds its value again.
TEST_F(Exchange, RoundTripWithoutChangesIsByteIdentical) {
    CopyExample("Deutsch.trvx");
    CopyExample("English-2.trvx");
    Put("odd.trvx", "INFO{LangID=1031}\nN { a = \"b\" z\r\n  d = e }\r\nN {\r\n"
                    "  Items = {\"x\" \"y\"}\r\n  Items = \"dup\"\r\n}\r\nM{c=\xE4 }");
    // What a NUL hides from the reader comes back too.
    Put("nul.trvx", std::string("N {\r\n  a = b\r\n}\r\n\0tail", 22));
    for (unsigned variant = 1; variant <= 3; ++variant)
        Put("random" + std::to_string(variant) + ".trvx", RandomTranslation(variant));
    const std::vector<std::pair<std::string, std::string>> inputs = {
        {"Deutsch.trvx", "--ref English-2.trvx"},
        {"English-2.trvx", ""},
        {"odd.trvx", ""},
        {"nul.trvx", ""},
        {"random1.trvx", ""},
        {"random2.trvx", "--ref random3.trvx"},
        {"random3.trvx", ""}};
    for (const auto& [file, ref] : inputs) {
        for (const std::string ext : {"xlf", "po"}) {
            SCOPED_TRACE(file + " as " + ext);
            ASSERT_EQ(Trvx("export " + file + " " + ref + " -o out." + ext).status, 0);
            const auto imported = Trvx("import " + file + " out." + ext + " -o back.trvx");
            ASSERT_EQ(imported.status, 0) << imported.err;
            EXPECT_EQ(Get("back.trvx"), Get(file));
            EXPECT_NE(imported.err.find("trvx import: 0 of "), std::string::npos) << imported.err;
        }
    }
}

// gettext, Qt's lconvert and the Translate Toolkit read what export writes,
// with every unit and every text.
TEST_F(Exchange, RealToolsReadTheExport) {
    CopyExample("Deutsch.trvx");
    CopyExample("English-2.trvx");
    ASSERT_EQ(Trvx("export Deutsch.trvx --ref English-2.trvx --format po -o de.po").status, 0);
    ASSERT_EQ(Trvx("export Deutsch.trvx --ref English-2.trvx --format xliff -o de.xlf").status, 0);
    const std::string xliff = Get("de.xlf");
    const std::size_t units = CountXml(xliff, "//trans-unit");
    const std::size_t shortcuts = CountXml(xliff, "//trans-unit[@translate='no']");
    EXPECT_EQ(units, 53u);
    EXPECT_EQ(shortcuts, 5u);
    EXPECT_EQ(Count(Get("de.po"), "\nmsgctxt "), units);

    const auto msgfmt = Shell("msgfmt -c --check-format -o /dev/null de.po");
    EXPECT_EQ(msgfmt.status, 0) << msgfmt.err;
    for (const std::string ext : {"po", "xlf"}) {
        SCOPED_TRACE(ext);
        const auto ts = Shell(kLconvert + " -i de." + ext + " -o de-" + ext + ".ts");
        ASSERT_EQ(ts.status, 0) << ts.err;
        EXPECT_EQ(CountXml(Get("de-" + ext + ".ts"), "//message"), units);
        // The texts: lconvert's own file of the same kind brings nothing new back.
        ASSERT_EQ(Shell(kLconvert + " -i de." + ext + " -o lc." + ext).status, 0);
        EXPECT_EQ(Trvx("import Deutsch.trvx lc." + ext + " --dry-run").err,
                  "trvx import: 0 of 53 units change a value (dry run, nothing written)\n");
    }
    // The Translate Toolkit counts only units meant for translation.
    const auto count = Shell("pocount de.xlf");
    const std::smatch total = [&] {
        std::smatch m;
        std::regex_search(count.out, m, std::regex("Total:\\s+(\\d+)"));
        return m;
    }();
    ASSERT_EQ(total.size(), 2u) << count.out << count.err;
    EXPECT_EQ(std::stoul(total[1]), units - shortcuts);
    ASSERT_EQ(Shell("xliff2po de.xlf tk.po").status, 0);
    EXPECT_EQ(Count(Get("tk.po"), "\nmsgid "), units + 1); // and the header
    EXPECT_EQ(Trvx("import Deutsch.trvx tk.po --dry-run").err,
              "trvx import: 0 of 53 units change a value (dry run, nothing written)\n");
}

// A target changed by another tool comes back as exactly that change.
TEST_F(Exchange, EditsMadeByOtherToolsComeBackExactly) {
    CopyExample("Deutsch.trvx");
    CopyExample("English-2.trvx");
    const std::string original = Get("Deutsch.trvx");
    ASSERT_EQ(Trvx("export Deutsch.trvx --ref English-2.trvx -o de.po").status, 0);
    ASSERT_EQ(Trvx("export Deutsch.trvx --ref English-2.trvx -o de.xlf").status, 0);

    ASSERT_EQ(Shell("msgfilter -i de.po -o ed.po sed -e 's/^Tabulatoren$/Tabs/'").status, 0);
    auto r = Trvx("import Deutsch.trvx ed.po -o out.trvx --list");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Get("out.trvx"), Replaced(original, "Caption = Tabulatoren", "Caption = Tabs"));
    EXPECT_EQ(r.err, "~ OBJECTS/Form:frmOptions/Tab:tabGeneral/RadioButton:rbTabs/Caption\n"
                     "trvx import: 1 of 53 units change a value\n");

    // XLIFF -> PO -> edited -> XLIFF: a list gets a third line, written in place.
    ASSERT_EQ(
        Shell("xliff2po de.xlf tk.po && sed -i 's/^\"Dunkel\"$/\"Dunkel\\\\n\"\\n\"System\"/' tk.po"
              " && po2xliff tk.po tk.xlf")
            .status,
        0);
    r = Trvx("import Deutsch.trvx tk.xlf -o out.trvx");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Get("out.trvx"), Replaced(original, "\"Dunkel\"\r\n",
                                        "\"Dunkel\"\r\n                 \"System\"\r\n"));
    EXPECT_NE(r.err.find("warning: unit \"OBJECTS/Form:frmOptions/Tab:tabGeneral/ComboBox:cbTheme/"
                         "Items\": the list had 2 lines and now has 3"),
              std::string::npos)
        << r.err;
}

// Every refusal names what is wrong and writes nothing.
TEST_F(Exchange, RefusalsNameTheUnitAndWriteNothing) {
    Put("de.trvx", "INFO {\r\n  LangID = 1031\r\n}\r\nN {\r\n  Caption = Alt\r\n"
                   "  Items = {\"a\"\r\n             \"b\"\r\n  }\r\n}\r\n");
    Put("ctl.trvx", "N {\r\n  Caption = \"a\x01\"\r\n}\r\n");
    auto xliff = [](const std::string& units) {
        return "<?xml version=\"1.0\"?>\n<xliff version=\"1.2\"><file><body>\n" + units +
               "</body></file></xliff>\n";
    };
    auto unit = [](const std::string& id, const std::string& target) {
        return "<trans-unit id=\"" + id + "\"><source>s</source><target>" + target +
               "</target></trans-unit>\n";
    };
    const std::string poHeader =
        "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n\n";
    struct Case {
        std::string file, content, options, error;
    };
    const Case cases[] = {
        {"unknown.xlf", xliff(unit("N/Hint", "x")), "",
         "trvx: unit \"N/Hint\": the translation has no such value\n"},
        {"twice.xlf", xliff(unit("N/Caption", "x") + unit("N/Caption", "y")), "",
         "trvx: unit \"N/Caption\": appears twice in the file\n"},
        {"page.po", poHeader + "msgctxt \"N/Caption\"\nmsgid \"Old\"\nmsgstr \"\xCE\xA9\"\n", "",
         "trvx: unit \"N/Caption\": U+03A9 '\xCE\xA9' does not exist in code page 1252 of this "
         "translation\n"},
        {"lines.xlf", xliff(unit("N/Items", "a")), "--strict",
         "trvx: unit \"N/Items\": the list had 2 lines and now has 1 (refused with --strict)\n"},
        {"broken.xlf", "<?xml version=\"1.0\"?>\n<xliff>\n  <file>\n</xliff>\n", "",
         "trvx: broken.xlf:4:3: Start-end tags mismatch\n"},
        {"broken.po", poHeader + "msgctxt \"N/Caption\"\nmsgid \"a\nmsgstr \"b\"\n", "",
         "trvx: broken.po:6: end-of-line within string\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        Put(c.file, c.content);
        const auto r = Trvx("import de.trvx " + c.file + " -o out.trvx " + c.options);
        EXPECT_EQ(r.status, 1);
        EXPECT_TRUE(r.err.starts_with(c.error)) << r.err;
        EXPECT_FALSE(fs::exists(m_dir / "out.trvx"));
    }
    const auto r = Trvx("export ctl.trvx --format po -o out.po");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "trvx: unit \"N/Caption\": U+0001 cannot be written to XLIFF or PO; change "
                     "the text first\n");
    EXPECT_FALSE(fs::exists(m_dir / "out.po"));
}

} // namespace
} // namespace trvx
