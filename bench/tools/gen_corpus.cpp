// Writes a benchmark corpus of language data in the shape of a real host's
// translation, deterministically from a fixed starting number:
//
//   gen_corpus OUTDIR NAME MEGABYTES [ORIGIN]
//
// OUTDIR/NAME.trvx      the translation, in the canonical layout (cp1252)
// OUTDIR/NAME-new.trvx  a newer base of it: about 5% of the nodes and values
//                       gone, about 5% added
// OUTDIR/NAME.po        the same content as gettext, Qt Linguist and JSON
// OUTDIR/NAME.ts        (UTF-8), so other tools can be timed on equal content
// OUTDIR/NAME.json

#include "format/Writer.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

// splitmix64: small, fast and the same everywhere.
class TRandom {
public:
    explicit TRandom(std::uint64_t origin) : m_state(origin) {}
    std::uint64_t Next() {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint64_t>(n)); }
    int Between(int lo, int hi) { return lo + Below(hi - lo + 1); }
    bool Chance(int percent) { return Below(1000) < percent * 10; }
    bool PerMille(int perMille) { return Below(1000) < perMille; }
    template <class T> const T& Pick(const std::vector<T>& list) {
        return list[Below(static_cast<int>(list.size()))];
    }

private:
    std::uint64_t m_state;
};

// UTF-8 source text to cp1252 bytes; the words below use Latin-1 letters only.
std::string ToAnsi(std::string_view utf8) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            const auto next = static_cast<unsigned char>(utf8[++i]);
            out += static_cast<char>(((c & 0x1F) << 6) | (next & 0x3F));
        }
    }
    return out;
}

std::vector<std::string> AnsiList(std::initializer_list<std::string_view> words) {
    std::vector<std::string> out;
    for (std::string_view w : words)
        out.push_back(ToAnsi(w));
    return out;
}

const std::vector<std::string> kWords = AnsiList(
    {"Datei",       "öffnen",     "speichern",    "schließen",    "Änderungen",   "Projekt",
     "Fenster",     "Ansicht",    "Einstellung",  "Übersicht",    "Größe",        "Schriftart",
     "Farbe",       "Vorlage",    "Eintrag",      "Liste",        "Suche",        "ersetzen",
     "Zeile",       "Spalte",     "Dokument",     "Drucker",      "Seite",        "Vorschau",
     "löschen",     "hinzufügen", "Verknüpfung",  "Quelle",       "Ziel",         "Ordner",
     "Verzeichnis", "Benutzer",   "Kennwort",     "Verbindung",   "Server",       "Datenbank",
     "Tabelle",     "Abfrage",    "Bericht",      "Formular",     "Schaltfläche", "Menü",
     "Werkzeug",    "Leiste",     "Hilfe",        "Über",         "Version",      "Lizenz",
     "Fehler",      "Warnung",    "Hinweis",      "Meldung",      "bestätigen",   "abbrechen",
     "wiederholen", "rückgängig", "ausschneiden", "kopieren",     "einfügen",     "markieren",
     "alle",        "keine",      "aktuelle",     "nächste",      "vorherige",    "erste",
     "letzte",      "neue",       "vorhandene",   "gespeicherte", "geänderte",    "ungültige",
     "für",         "mit",        "ohne",         "und",          "oder",         "nicht",
     "wurde",       "werden",     "kann",         "muss",         "soll",         "die",
     "der",         "das",        "den",          "dem",          "ein",          "eine",
     "im",          "zum",        "zur",          "vom",          "beim",         "Größenänderung",
     "Café",        "Exposé",     "Straße",       "Maß",          "Fuß",          "Grüße",
     "Bücher",      "Köln",       "Zürich"});

const std::vector<std::string> kShortcuts = {
    "Ctrl+N",    "Ctrl+O",     "Ctrl+S", "Ctrl+Shift+S", "Ctrl+P",   "Ctrl+Z", "Ctrl+Y",
    "Ctrl+X",    "Ctrl+C",     "Ctrl+V", "Ctrl+A",       "Ctrl+F",   "F3",     "Shift+F3",
    "Ctrl+H",    "F1",         "F5",     "Shift+F5",     "F9",       "Alt+F4", "Ctrl+F4",
    "Alt+Enter", "Ctrl+Alt+D", "Strg+Z", "Umsch+Entf",   "Ctrl+Ins", "Del",    "Esc"};

struct TValue {
    std::string Ident;
    std::string Text;
    bool InMain = true;    // false: added in the newer base
    bool InVariant = true; // false: gone from the newer base
};

struct TNode {
    std::string Name;
    std::vector<TValue> Values;
    std::vector<TNode> Children;
    bool InMain = true;
    bool InVariant = true;
};

// ---------------------------------------------------------------- texts

class TTextMaker {
public:
    explicit TTextMaker(std::uint64_t origin) : m_rnd(origin) {}

    std::string Words(int lo, int hi, bool capital) {
        std::string out;
        const int n = m_rnd.Between(lo, hi);
        for (int i = 0; i < n; ++i) {
            if (i)
                out += ' ';
            std::string w = m_rnd.Pick(kWords);
            if (i == 0 && capital && w[0] >= 'a' && w[0] <= 'z')
                w[0] = static_cast<char>(w[0] - 'a' + 'A');
            out += w;
        }
        return out;
    }

    std::string Caption() {
        std::string s = Words(1, 3, true);
        if (m_rnd.Chance(60))
            s.insert(static_cast<std::size_t>(m_rnd.Below(static_cast<int>(s.size()))), "&");
        if (m_rnd.Chance(15))
            s += "...";
        return Decorate(s);
    }

    std::string Hint() {
        if (m_rnd.Chance(4)) // a two-line hint
            return Words(3, 7, true) + "\r\n" + Words(3, 7, false);
        return Decorate(Words(3, 10, true));
    }

    std::string Message() {
        std::string s = Words(5, 14, true);
        if (m_rnd.Chance(25))
            s += m_rnd.Chance(50) ? " %s" : " (%d)";
        if (m_rnd.Chance(30))
            s += '.';
        if (m_rnd.Chance(3))
            return s + "\r\n" + Words(4, 10, true) + '.';
        return Decorate(s);
    }

    std::string Items() {
        std::string s;
        const int n = m_rnd.Between(2, 7);
        for (int i = 0; i < n; ++i) {
            if (i)
                s += "\r\n";
            s += Words(1, 2, true);
            if (m_rnd.Chance(5))
                s += " \"Standard\"";
        }
        return s;
    }

    std::string Shortcut() { return m_rnd.Pick(kShortcuts); }
    TRandom& Random() { return m_rnd; }

private:
    // About one single-line text in ten needs quoting when written.
    std::string Decorate(std::string s) {
        if (m_rnd.PerMille(8))
            return {};
        switch (m_rnd.Below(36)) {
        case 0:
            return " " + s;
        case 1:
            return s + " ";
        case 2:
            return "\"" + s + "\"";
        case 3:
            return s + " {F1}";
        default:
            return s;
        }
    }

    TRandom m_rnd;
};

// ---------------------------------------------------------------- tree

const char* const kVariantIdents[] = {"Caption", "Hint", "Title", "Lines"};

class TTreeMaker {
public:
    explicit TTreeMaker(std::uint64_t origin) : m_text(origin), m_variant(origin ^ 0x5EEDF00Dull) {}

    TNode Info() {
        TNode n{"INFO", {}, {}};
        n.Values = {{"Language", "Deutsch"},
                    {"LangID", "1031"},
                    {"Version", "2.0"},
                    {"Author", ToAnsi("Übersetzungsteam")},
                    {"Email", "de@pylon.example"}};
        return n;
    }

    TNode Form() {
        TNode form{"Form:frm" + Unique(), {}, {}};
        Add(form, "Caption", m_text.Caption());
        if (Rnd().Chance(50))
            Add(form, "Hint", m_text.Hint());
        for (int m = Rnd().Between(0, 2); m > 0; --m) {
            TNode menu = Control("Menu:", "mnu");
            for (int a = Rnd().Between(3, 8); a > 0; --a) {
                TNode action = Control("Action:", "act");
                Add(action, "Hint", m_text.Hint());
                Add(action, "Shortcut", m_text.Shortcut());
                menu.Children.push_back(std::move(action));
            }
            form.Children.push_back(std::move(menu));
        }
        if (Rnd().Chance(40)) {
            TNode bar{"Toolbar:tb" + Unique(), {}, {}};
            Add(bar, "Hint", m_text.Hint());
            form.Children.push_back(std::move(bar));
        }
        for (int t = Rnd().Between(1, 3); t > 0; --t) {
            TNode tab = Control("Tab:", "tab");
            for (int c = Rnd().Between(2, 7); c > 0; --c)
                tab.Children.push_back(Widget());
            if (Rnd().Chance(40)) {
                TNode group = Control("GroupBox:", "grp");
                for (int c = Rnd().Between(2, 4); c > 0; --c)
                    group.Children.push_back(Rnd().Chance(50) ? Control("RadioButton:", "rb")
                                                              : Control("CheckBox:", "chk"));
                tab.Children.push_back(std::move(group));
            }
            form.Children.push_back(std::move(tab));
        }
        for (int c = Rnd().Between(1, 4); c > 0; --c)
            form.Children.push_back(Widget());
        Vary(form, false);
        return form;
    }

    // One STRINGS entry, or an entry that only the newer base has.
    TValue Message() {
        TValue v{"S" + Unique(), m_text.Message()};
        v.InVariant = !m_variant.Chance(5);
        return v;
    }
    std::optional<TValue> AddedMessage() {
        if (!m_variant.Chance(5))
            return std::nullopt;
        TValue v{"SNew" + Unique(), m_text.Message()};
        v.InMain = false;
        return v;
    }

private:
    TRandom& Rnd() { return m_text.Random(); }

    std::string Unique() { return std::to_string(++m_counter); }

    static void Add(TNode& node, std::string ident, std::string text) {
        node.Values.push_back({std::move(ident), std::move(text)});
    }

    TNode Control(const char* prefix, const char* abbrev) {
        std::string name = m_text.Words(1, 1, true);
        std::string ascii;
        for (char c : name)
            if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))
                ascii += c;
        TNode n{prefix + (abbrev + ascii) + Unique(), {}, {}};
        Add(n, "Caption", m_text.Caption());
        return n;
    }

    TNode Widget() {
        switch (Rnd().Below(7)) {
        case 0: {
            TNode b = Control("Button:", "btn");
            Add(b, "Hint", m_text.Hint());
            if (Rnd().Chance(30))
                Add(b, "Shortcut", m_text.Shortcut());
            return b;
        }
        case 1:
            return Control("Label:", "lbl");
        case 2: {
            TNode l = Control("List:", "lst");
            Add(l, "Items", m_text.Items());
            return l;
        }
        case 3: {
            TNode c = Control("ComboBox:", "cb");
            Add(c, "Hint", m_text.Hint());
            Add(c, "Items", m_text.Items());
            return c;
        }
        case 4:
            return Control("CheckBox:", "chk");
        case 5:
            return Control("RadioButton:", "rb");
        default: {
            TNode e = Control("Edit:", "ed");
            Add(e, "Hint", m_text.Hint());
            return e;
        }
        }
    }

    // Marks what the newer base lacks and adds what only it has, 5% each.
    void Vary(TNode& node, bool mayGo) {
        if (mayGo && m_variant.Chance(5)) {
            node.InVariant = false;
            return;
        }
        std::vector<TValue> values;
        for (TValue& v : node.Values) {
            v.InVariant = !m_variant.Chance(5);
            values.push_back(std::move(v));
        }
        if (m_variant.Chance(5)) {
            for (const char* ident : kVariantIdents) {
                bool has = false;
                for (const TValue& v : values)
                    has = has || v.Ident == ident;
                if (!has) {
                    TValue added{ident, m_text.Hint()};
                    added.InMain = false;
                    values.push_back(std::move(added));
                    break;
                }
            }
        }
        node.Values = std::move(values);
        std::vector<TNode> children;
        for (TNode& c : node.Children) {
            Vary(c, true);
            children.push_back(std::move(c));
            if (m_variant.Chance(5)) {
                TNode added = Control("Button:", "btnNeu");
                Add(added, "Hint", m_text.Hint());
                added.InMain = false;
                children.push_back(std::move(added));
            }
        }
        node.Children = std::move(children);
    }

    TTextMaker m_text;
    TRandom m_variant;
    std::uint64_t m_counter = 0;
};

// ---------------------------------------------------------------- writers

class TOutFile {
public:
    explicit TOutFile(const std::string& path) : m_file(std::fopen(path.c_str(), "wb")) {
        if (!m_file)
            throw std::runtime_error("cannot create " + path);
        m_buffer.reserve(kChunk + 4096);
    }
    ~TOutFile() { std::fclose(m_file); }
    TOutFile(const TOutFile&) = delete;
    TOutFile& operator=(const TOutFile&) = delete;

    std::string& Buf() { return m_buffer; }
    void Flush(bool force = false) {
        if (m_buffer.size() < kChunk && !force)
            return;
        m_written += m_buffer.size();
        if (std::fwrite(m_buffer.data(), 1, m_buffer.size(), m_file) != m_buffer.size())
            throw std::runtime_error("write failed");
        m_buffer.clear();
    }
    std::size_t Size() const { return m_written + m_buffer.size(); }

private:
    static constexpr std::size_t kChunk = std::size_t{1} << 20;
    std::FILE* m_file;
    std::string m_buffer;
    std::size_t m_written = 0;
};

// The canonical layout: what `trvx fmt` writes. The value lines are the
// core writer's own, so the corpus is that layout by construction.
class TTrvxWriter {
public:
    TTrvxWriter(const std::string& path, bool variant)
        : m_out(path), m_sink([this](std::string_view block) {
              m_out.Buf() += block;
              m_out.Flush();
          }),
          m_variant(variant) {}

    void Node(const TNode& node, int indent) {
        if (!Keeps(node))
            return;
        std::string& o = m_sink.Out();
        o.append(static_cast<std::size_t>(indent), ' ');
        o += node.Name;
        o += " {\r\n";
        for (const TValue& v : node.Values)
            if (Keeps(v))
                Value(indent, v.Ident, v.Text);
        for (const TNode& c : node.Children)
            Node(c, indent + 2);
        o.append(static_cast<std::size_t>(indent), ' ');
        o += "}\r\n";
        m_sink.FlushIfFull();
    }
    void Open(std::string_view name) { m_sink.Out().append(name).append(" {\r\n"); }
    void Close() { m_sink.Out() += "}\r\n"; }
    void Value(int indent, std::string_view ident, std::string_view text) {
        trvx::WriteValue(m_sink, indent, ident, text);
    }
    bool Keeps(const TNode& n) const { return m_variant ? n.InVariant : n.InMain; }
    bool Keeps(const TValue& v) const { return m_variant ? v.InVariant : v.InMain; }
    std::size_t Size() { return m_out.Size() + m_sink.Out().size(); }
    void Finish() {
        m_sink.FlushNow();
        m_out.Flush(true);
    }

private:
    TOutFile m_out;
    trvx::TTextSink m_sink;
    bool m_variant;
};

void AppendUtf8(std::string& o, std::string_view ansi) {
    for (char ch : ansi) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            o += ch;
        } else {
            o += static_cast<char>(0xC0 | (c >> 6));
            o += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
}

// Multi-line texts become LF-separated lines for the peers; their formats
// read a plain line feed as the line break.
std::string Lines(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        out += text[i];
    }
    return out;
}

using TEscapes = std::initializer_list<std::pair<char, std::string_view>>;

// Appends ansi as UTF-8, each byte that escapes lists replaced by its escape.
void AppendEscapedUtf8(std::string& o, std::string_view ansi, TEscapes escapes) {
    std::string utf8;
    AppendUtf8(utf8, ansi);
    for (char c : utf8) {
        const auto escape = std::find_if(escapes.begin(), escapes.end(),
                                         [c](const auto& e) { return e.first == c; });
        if (escape != escapes.end())
            o += escape->second;
        else
            o += c;
    }
}

// A double-quoted string with C-style escapes, as .po and JSON both write it.
void AppendQuotedEscaped(std::string& o, std::string_view ansi) {
    o += '"';
    AppendEscapedUtf8(o, ansi,
                      {{'"', "\\\""}, {'\\', "\\\\"}, {'\n', "\\n"}, {'\r', "\\r"}, {'\t', "\\t"}});
    o += '"';
}

// The values of the main corpus in and below node, each with its node's path
// ("parent/name"), in file order.
template <class Take>
void ForEachMainValue(const TNode& node, const std::string& parent, const Take& take) {
    if (!node.InMain)
        return;
    const std::string path = parent.empty() ? node.Name : parent + "/" + node.Name;
    for (const TValue& v : node.Values)
        if (v.InMain)
            take(path, v);
    for (const TNode& c : node.Children)
        ForEachMainValue(c, path, take);
}

class TPoWriter {
public:
    explicit TPoWriter(const std::string& path) : m_out(path) {
        m_out.Buf() += "msgid \"\"\nmsgstr \"\"\n"
                       "\"Project-Id-Version: Pylon 2.0\\n\"\n"
                       "\"Language: de\\n\"\n"
                       "\"MIME-Version: 1.0\\n\"\n"
                       "\"Content-Type: text/plain; charset=UTF-8\\n\"\n"
                       "\"Content-Transfer-Encoding: 8bit\\n\"\n\n";
    }
    void Node(const TNode& node, const std::string& parent) {
        ForEachMainValue(node, parent, [this](const std::string& path, const TValue& v) {
            Entry(path, v.Ident, v.Text);
            m_out.Flush();
        });
    }
    void Entry(std::string_view context, std::string_view ident, std::string_view text) {
        std::string& o = m_out.Buf();
        o += "msgctxt ";
        String(context);
        o += "\nmsgid ";
        String(ident);
        o += "\nmsgstr ";
        const std::string lines = Lines(text);
        if (lines.find('\n') == std::string::npos) {
            String(lines);
        } else {
            o += "\"\"";
            std::size_t from = 0;
            for (;;) {
                const std::size_t end = lines.find('\n', from);
                o += '\n';
                String(lines.substr(from, end == std::string::npos ? end : end + 1 - from));
                if (end == std::string::npos)
                    break;
                from = end + 1;
            }
        }
        o += "\n\n";
    }
    void Finish() { m_out.Flush(true); }

private:
    void String(std::string_view s) { AppendQuotedEscaped(m_out.Buf(), s); }

    TOutFile m_out;
};

void AppendXml(std::string& o, std::string_view ansi) {
    AppendEscapedUtf8(
        o, ansi, {{'&', "&amp;"}, {'<', "&lt;"}, {'>', "&gt;"}, {'"', "&quot;"}, {'\'', "&apos;"}});
}

// One context per form (and per section); the source is the path below it.
class TTsWriter {
public:
    explicit TTsWriter(const std::string& path) : m_out(path) {
        m_out.Buf() += "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!DOCTYPE TS>\n"
                       "<TS version=\"2.1\" language=\"de_DE\">\n";
    }
    void OpenContext(std::string_view name) {
        m_out.Buf() += "<context>\n    <name>";
        AppendXml(m_out.Buf(), name);
        m_out.Buf() += "</name>\n";
    }
    void CloseContext() {
        m_out.Buf() += "</context>\n";
        m_out.Flush();
    }
    void Node(const TNode& node, const std::string& parent) {
        ForEachMainValue(node, parent, [this](const std::string& path, const TValue& v) {
            Message(path + "/" + v.Ident, v.Text);
        });
    }
    void NodeValues(const TNode& node) {
        for (const TValue& v : node.Values)
            if (v.InMain)
                Message(v.Ident, v.Text);
    }
    void Message(std::string_view source, std::string_view text) {
        std::string& o = m_out.Buf();
        o += "    <message>\n        <source>";
        AppendXml(o, source);
        o += "</source>\n        <translation>";
        AppendXml(o, Lines(text));
        o += "</translation>\n    </message>\n";
    }
    void Finish() {
        m_out.Buf() += "</TS>\n";
        m_out.Flush(true);
    }

private:
    TOutFile m_out;
};

// Nested objects: node names and idents as keys, texts as strings.
class TJsonWriter {
public:
    explicit TJsonWriter(const std::string& path) : m_out(path) { m_out.Buf() += '{'; }
    void Key(std::string_view key) {
        if (!m_first.empty()) {
            if (!m_first.back())
                m_out.Buf() += ',';
            m_first.back() = false;
        }
        String(key);
        m_out.Buf() += ':';
    }
    void Open(std::string_view name) {
        Key(name);
        m_out.Buf() += '{';
        m_first.push_back(true);
    }
    void Close() {
        m_out.Buf() += '}';
        m_first.pop_back();
        m_out.Flush();
    }
    void Node(const TNode& node) {
        if (!node.InMain)
            return;
        Open(node.Name);
        for (const TValue& v : node.Values)
            if (v.InMain)
                Value(v.Ident, v.Text);
        for (const TNode& c : node.Children)
            Node(c);
        Close();
    }
    void Value(std::string_view ident, std::string_view text) {
        Key(ident);
        String(text);
    }
    void Finish() {
        m_out.Buf() += "}\n";
        m_out.Flush(true);
    }

private:
    void String(std::string_view s) { AppendQuotedEscaped(m_out.Buf(), s); }

    TOutFile m_out;
    std::vector<bool> m_first{true};
};

// ---------------------------------------------------------------- main

void Generate(const std::string& dir, const std::string& name, double megabytes,
              std::uint64_t origin) {
    const std::string base = dir + "/" + name;
    TTrvxWriter trvx(base + ".trvx", false);
    TTrvxWriter variant(base + "-new.trvx", true);
    TPoWriter po(base + ".po");
    TTsWriter ts(base + ".ts");
    TJsonWriter json(base + ".json");
    TTreeMaker maker(origin);

    const auto target = static_cast<std::size_t>(megabytes * 1024 * 1024);
    // Three tenths of the bytes go to the STRINGS section, as in a real host's file.
    const std::size_t objectsShare = target / 10 * 7;

    const TNode info = maker.Info();
    trvx.Node(info, 0);
    variant.Node(info, 0);
    po.Node(info, "");
    ts.OpenContext("INFO");
    ts.NodeValues(info);
    ts.CloseContext();
    json.Node(info);

    trvx.Open("OBJECTS");
    variant.Open("OBJECTS");
    json.Open("OBJECTS");
    while (trvx.Size() < objectsShare) {
        const TNode form = maker.Form();
        trvx.Node(form, 2);
        variant.Node(form, 2);
        po.Node(form, "OBJECTS");
        ts.OpenContext("OBJECTS/" + form.Name);
        ts.NodeValues(form);
        for (const TNode& c : form.Children)
            ts.Node(c, "");
        ts.CloseContext();
        json.Node(form);
    }
    trvx.Close();
    variant.Close();
    json.Close();

    trvx.Open("STRINGS");
    variant.Open("STRINGS");
    json.Open("STRINGS");
    ts.OpenContext("STRINGS");
    // Leave room for the closing line.
    while (trvx.Size() + 3 < target) {
        const TValue v = maker.Message();
        trvx.Value(0, v.Ident, v.Text);
        if (v.InVariant)
            variant.Value(0, v.Ident, v.Text);
        if (const auto added = maker.AddedMessage())
            variant.Value(0, added->Ident, added->Text);
        po.Entry("STRINGS", v.Ident, v.Text);
        ts.Message(v.Ident, v.Text);
        json.Value(v.Ident, v.Text);
    }
    trvx.Close();
    variant.Close();
    json.Close();
    ts.CloseContext();

    trvx.Finish();
    variant.Finish();
    po.Finish();
    ts.Finish();
    json.Finish();
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4 || argc > 5) {
        std::fprintf(stderr, "usage: gen_corpus OUTDIR NAME MEGABYTES [ORIGIN]\n");
        return 2;
    }
    try {
        Generate(argv[1], argv[2], std::atof(argv[3]),
                 argc == 5 ? std::strtoull(argv[4], nullptr, 10) : 20240611);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "gen_corpus: %s\n", e.what());
        return 1;
    }
    return 0;
}
