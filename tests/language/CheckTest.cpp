#include "check/Check.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <random>

namespace trvx {
namespace {

using test::Crlf;

// A finding in words, made while its trees are there.
struct TShownFinding {
    TSeverity Severity;
    TCheckKind Kind;
    std::string Path, Ident, Text, Message;
    const TTarvinItem* Item;
    int ValueIndex;
};

std::vector<TShownFinding> Shown(const TFindings& findings) {
    std::vector<TShownFinding> out;
    for (const TFinding& f : findings)
        out.push_back({f.Severity, f.Kind, findings.Path(f), findings.Ident(f), findings.Text(f),
                       findings.Message(f), f.Item, f.ValueIndex});
    return out;
}

// One line per finding: severity letter, check, path, ident.
std::string Describe(const std::vector<TShownFinding>& findings) {
    std::string out;
    for (const TShownFinding& f : findings)
        out += std::string(1, "EWI"[static_cast<int>(f.Severity)]) + " " +
               std::string(CheckKindName(f.Kind)) + " " + f.Path +
               (f.Ident.empty() ? "" : " " + f.Ident) + "\n";
    return out;
}

std::vector<TShownFinding> Check(const std::string& translation, const std::string* base) {
    TTarvin t;
    t.LoadFromText(Crlf(translation));
    TTarvin b;
    if (base)
        b.LoadFromText(Crlf(*base));
    std::vector<TShownFinding> findings = Shown(CheckLanguage(t, base ? &b : nullptr));
    for (TShownFinding& f : findings)
        f.Item = nullptr; // the trees are gone
    return findings;
}

struct CheckCase {
    const char* name;
    std::string translation;
    std::string base; // "-": checked without a base
    std::string findings;
};

void PrintTo(const CheckCase& c, std::ostream* os) {
    *os << c.name;
}

class Checks : public testing::TestWithParam<CheckCase> {};

TEST_P(Checks, Find) {
    const CheckCase& c = GetParam();
    const bool withBase = c.base != "-";
    EXPECT_EQ(Describe(Check(c.translation, withBase ? &c.base : nullptr)), c.findings);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Accelerators, Checks, testing::Values(
    CheckCase{"DistinctLetters",
              "M {\n A {\n  Caption = &Neu\n }\n B {\n  Caption = &Offen\n }\n}\n", "-", ""},
    CheckCase{"SameLetterAnyCase",
              "M {\n A {\n  Caption = &Speichern\n }\n B {\n  Caption = Auto&save\n }\n"
              " C {\n  Caption = &Ende\n }\n}\n", "-",
              "W accelerator M/A Caption\nW accelerator M/B Caption\n"},
    CheckCase{"ScopesAreSiblingsOnly",
              "M {\n Caption = &Datei\n A {\n  Caption = &Drucken\n }\n}\n"
              "N {\n Caption = &Drucken\n}\n", "-",
              "W accelerator M Caption\nW accelerator N Caption\n"},
    CheckCase{"LiteralAmpersandIsNoMark",
              "M {\n A {\n  Caption = Drag && Drop\n }\n B {\n  Caption = &Drop\n }\n}\n", "-", ""},
    CheckCase{"OnlyCaptionsCount",
              "M {\n A {\n  Hint = &Neu\n }\n B {\n  Caption = &Neu\n }\n}\n", "-", ""},
    CheckCase{"LoneAtEndAndBeforeBlank",
              "M {\n A {\n  Caption = Ende&\n }\n B {\n  Caption = Suchen & Ersetzen\n }\n}\n", "-",
              "W accelerator M/A Caption\nW accelerator M/B Caption\n"},
    CheckCase{"TwoMarksInOneCaption",
              "M {\n A {\n  Caption = &Datei &Neu\n }\n}\n", "-",
              "W accelerator M/A Caption\n"},
    CheckCase{"WindowTitlesMarkNothing",
              "OBJECTS {\n Form:a {\n  Caption = &Optionen\n  X {\n   Caption = &Ok\n  }\n"
              "  Y {\n   Caption = &OK\n  }\n }\n Form:b {\n  Caption = &Offen&\n }\n}\n",
              "objects {\n Form:A {\n  Caption = &Options\n }\n Form:b {\n  Caption = &Open\n }\n}\n",
              "W accelerator OBJECTS/Form:a/X Caption\nW accelerator OBJECTS/Form:a/Y Caption\n"},
    CheckCase{"MissingWhenTheBaseHasOne",
              "M {\n A {\n  Caption = Neu\n }\n B {\n  Caption = Offen\n }\n C {\n  Caption = Ende&\n }\n}\n",
              "m {\n a {\n  Caption = &New\n }\n B {\n  Caption = Open\n }\n C {\n  Caption = E&xit\n }\n}\n",
              "W accelerator M/A Caption\nW accelerator M/C Caption\n"}
));

INSTANTIATE_TEST_SUITE_P(Shortcuts, Checks, testing::Values(
    CheckCase{"ReadableAndEmpty",
              "F {\n A {\n  Shortcut = Ctrl+N\n }\n B {\n  Shortcut =\n }\n C {\n  Shortcut = ^O\n }\n}\n",
              "-", ""},
    CheckCase{"Unreadable",
              "F {\n A {\n  Shortcut = Strg+N\n }\n B {\n  Shortcut = (None)\n }\n"
              " C {\n  Shortcut = \" Ctrl+N\"\n }\n D {\n  shortcut = Strg+N\n }\n}\n", "-",
              "E shortcut F/A Shortcut\nE shortcut F/B Shortcut\nE shortcut F/C Shortcut\n"},
    CheckCase{"SameKeyInOneFormByAnySpelling",
              "OBJECTS {\n Form:frmMain {\n  A {\n   Shortcut = Ctrl+S\n  }\n  M {\n   B {\n"
              "    Shortcut = ctrl+s\n   }\n   C {\n    Shortcut = ^S\n   }\n  }\n }\n}\n", "-",
              "W shortcut OBJECTS/Form:frmMain/A Shortcut\n"
              "W shortcut OBJECTS/Form:frmMain/M/B Shortcut\n"
              "W shortcut OBJECTS/Form:frmMain/M/C Shortcut\n"},
    CheckCase{"FormsAreSeparate",
              "OBJECTS {\n Form:a {\n  X {\n   Shortcut = F1\n  }\n  Form:inner {\n   Y {\n"
              "    Shortcut = F1\n   }\n  }\n }\n Form:b {\n  Z {\n   Shortcut = F1\n  }\n }\n}\n", "-", ""},
    CheckCase{"AnInnerFormLeavesTheOuterOnesUses",
              "OBJECTS {\n Form:a {\n  X {\n   Shortcut = F1\n  }\n  Form:inner {\n   Y {\n"
              "    Shortcut = F1\n   }\n   Z {\n    Shortcut = F2\n   }\n  }\n  W {\n"
              "   Shortcut = F1\n  }\n  V {\n   Shortcut = F2\n  }\n }\n}\n", "-",
              "W shortcut OBJECTS/Form:a/X Shortcut\nW shortcut OBJECTS/Form:a/W Shortcut\n"},
    CheckCase{"PathsEscapeSlashes", "A/B {\n Shortcut = nope\n}\n", "-", "E shortcut A\\/B Shortcut\n"},
    CheckCase{"OutsideFormsTheSectionIsTheScope",
              "A {\n X {\n  Shortcut = F2\n }\n Y {\n  Shortcut = F2\n }\n}\nB {\n Shortcut = F2\n}\n", "-",
              "W shortcut A/X Shortcut\nW shortcut A/Y Shortcut\n"}
));

INSTANTIATE_TEST_SUITE_P(Placeholders, Checks, testing::Values(
    CheckCase{"Match", "S {\n a = Datei %s fehlt\n b = %1:s in %0:s\n}\n",
              "S {\n a = File %s missing\n b = %s of %s\n}\n", ""},
    CheckCase{"LostAddedOrChanged",
              "S {\n a = Datei fehlt\n b = %s %s\n c = %.2f\n d = %d von %s\n}\n",
              "S {\n a = File %s missing\n b = %s\n c = %5.2f\n d = %s of %d\n}\n",
              "E placeholder S a\nE placeholder S b\nE placeholder S c\nE placeholder S d\n"},
    CheckCase{"LonePercentInAFormatText",
              "S {\n a = 50 % von %d\n b = 50% mehr\n c = 50 % von %d\n}\n",
              "S {\n a = 50%% of %d\n b = 50% more\n c = 50% of %d\n}\n",
              "E placeholder S a\n"},
    CheckCase{"WithoutBaseNothing", "S {\n a = %s\n}\n", "-", ""}
));

INSTANTIATE_TEST_SUITE_P(Lists, Checks, testing::Values(
    CheckCase{"LineCounts",
              "L {\n Items = {\"a\"\n  \"b\"}\n Strings = {\"a\"\n  \"b\"}\n Lines = x\n}\n",
              "L {\n Items = {\"1\"\n  \"2\"}\n Strings = {\"1\"\n  \"2\"\n  \"3\"}\n Lines = {\"1\"\n  \"2\"}\n}\n",
              "W list L Strings\n"},
    CheckCase{"EmptyIsNoLines", "L {\n Items =\n}\n", "L {\n Items = x\n}\n", "W list L Items\n"}
));

INSTANTIATE_TEST_SUITE_P(Untranslated, Checks, testing::Values(
    CheckCase{"SameTextWithLetters",
              "S {\n a = OK\n b = 1.0\n c = %d / %s\n d = Ja\n e =\n Shortcut = Ctrl+N\n}\n",
              "S {\n a = OK\n b = 1.0\n c = %d / %s\n d = Yes\n e =\n Shortcut = Ctrl+N\n}\n",
              "I untranslated S a\n"},
    CheckCase{"ExactBytesOnly", "S {\n a = ok\n}\n", "S {\n a = OK\n}\n", ""}
));

INSTANTIATE_TEST_SUITE_P(Whitespace, Checks, testing::Values(
    CheckCase{"OuterBlanks",
              "S {\n a = \" Text\"\n b = \"Text \"\n c = \" Text \"\n d = \"\"\n e = \"\\t\"\n}\n",
              "S {\n a = Text\n b = \" Text \"\n c = \" Eng \"\n d = \" x \"\n e = \" \"\n}\n",
              "W whitespace S a\nW whitespace S b\n"}
));

INSTANTIATE_TEST_SUITE_P(Structure, Checks, testing::Values(
    CheckCase{"RootValues", "v = 1\nN {\n}\n", "-", "E structure  v\n"},
    CheckCase{"StrayTextJoinedToAnIdent", "N {\n a = \"b\" z\n d = e\n}\n", "-",
              "E structure N z\r\n d\n"},
    CheckCase{"StrayTextJoinedToAName", "N {\n a = \"b\" z\n M {\n }\n}\n", "-",
              "E structure N/z\\x0D\\x0A M\n"}, // paths are written as trvx update writes them
    CheckCase{"QuotesInNamesAreRead", "N\"x {\n a\"b = 1\n}\n", "-", ""},
    CheckCase{"UnknownLangIdFirstOfTheFamily", "INFO {\n LangID = 4660\n}\nv = 1\n", "-",
              "W structure INFO LangID\nE structure  v\n"}
));

// Shift-JIS: "&" before ア (83 41) and before ヂ (83 61) marks two letters
// that share a lead byte; "&" before ｆ and before Ｆ (82 86, 82 65) marks one.
INSTANTIATE_TEST_SUITE_P(DoubleByte, Checks, testing::Values(
    CheckCase{"MarksAreWholeCharacters",
              "INFO {\n LangID = 1041\n}\nM {\n A {\n  Caption = &\x83\x41\n }\n"
              " B {\n  Caption = &\x83\x61\n }\n C {\n  Caption = &\x82\x86\n }\n"
              " D {\n  Caption = &\x82\x65\n }\n}\n", "-",
              "W accelerator M/C Caption\nW accelerator M/D Caption\n"}
));
// clang-format on

// Trees built in code can hold what no reader produces.
TEST(CheckStructure, NamesAndIdentsASaveWouldChange) {
    TTarvinItem root;
    TTarvinItem& n = root.AddChild(" padded");
    n.AddValue("a=b", "x");
    n.AddValue("c{", "x");
    n.AddValue("ok", "x");
    root.AddChild("x=y");
    root.AddChild("p}");
    const auto findings =
        Shown(CheckTrees(root, CodePage::Get(1252), nullptr, CodePage::Get(1252)));
    EXPECT_EQ(Describe(findings), "E structure  padded\n"
                                  "E structure  padded a=b\n"
                                  "E structure  padded c{\n"
                                  "E structure x=y\n"
                                  "E structure p}\n");
    ASSERT_EQ(findings.size(), 5u);
    EXPECT_EQ(findings[0].Item, &n);
    EXPECT_EQ(findings[0].ValueIndex, -1);
    EXPECT_EQ(findings[1].ValueIndex, 0);
}

TEST(CheckMatching, FirstMatchIgnoringCaseByTheCodePage) {
    // Czech: cp1250 folds č (0xE8) to Č (0xC8). Both a short and a long
    // sibling list, so the linear and the indexed lookups are both used.
    for (int siblings : {2, 40}) {
        std::string base = "INFO {\n LangID = 1029\n}\nM {\n";
        std::string mine = "INFO {\n LangID = 1029\n}\nM {\n";
        for (int i = 0; i < siblings; ++i) {
            base += " N" + std::to_string(i) + " {\n  Caption = x\n }\n";
            mine += " N" + std::to_string(i) + " {\n  Caption = y\n }\n";
        }
        base += " \xC8ten\xED {\n  Caption = &Read\n }\n \xC8ten\xED {\n  Caption = Read\n }\n}\n";
        mine += " \xE8ten\xED {\n  Caption = \xC8\x65st\n }\n}\n";
        const auto findings = Check(mine, &base);
        ASSERT_EQ(findings.size(), 1u) << siblings << "\n" << Describe(findings);
        EXPECT_EQ(findings[0].Path, "M/\xC4\x8Dten\xC3\xAD"); // UTF-8
        EXPECT_NE(findings[0].Message.find("\"R\""), std::string::npos) << findings[0].Message;
    }
}

TEST(CheckMatching, AcceleratorLettersFoldByTheCodePage) {
    const std::string text =
        "INFO {\n LangID = 1029\n}\n"
        "M {\n A {\n  Caption = &\xE8ten\xED\n }\n B {\n  Caption = &\xC8\x61s\n }\n}\n";
    const auto findings = Check(text, nullptr);
    ASSERT_EQ(findings.size(), 2u);
    EXPECT_EQ(findings[0].Message, "accelerator \"\xC4\x8C\" is also used by B");
    EXPECT_EQ(findings[0].Text, "&\xC4\x8Dten\xC3\xAD");
}

TEST(CheckMessages, SayWhatIsWrong) {
    const std::string base = "F {\n A {\n  Caption = &Open\n  Shortcut = Ctrl+O\n }\n"
                             " B {\n  Shortcut = Ctrl+O\n }\n}\nS {\n a = %s: %d\n"
                             " l = {\"1\"\n  \"2\"}\n w = \" x\"\n}\n";
    const std::string mine = "F {\n A {\n  Caption = Offen\n  Shortcut = Ctrl+O\n }\n"
                             " B {\n  Shortcut = ^o\n }\n}\nS {\n a = %d: %x\n"
                             " l = {\"1\"}\n w = x\n}\n";
    std::vector<std::string> messages;
    for (const TShownFinding& f : Check(mine, &base))
        messages.push_back(f.Message);
    const std::vector<std::string> expected = {
        "the caption has no accelerator; the base marks \"O\" in \"&Open\"",
        "shortcut Ctrl+O is also used by B in the same section",
        "shortcut Ctrl+O is also used by A in the same section",
        "placeholders differ from the base: here %d %x, in the base %s %d",
        "blanks differ from the base at the start (none here, 1 in the base)",
    };
    EXPECT_EQ(messages, expected);
}

TEST(CheckOrder, GroupedByCheckInTreeOrder) {
    const std::string text = "A {\n Shortcut = X+1\n B {\n  Caption = x&\n }\n}\n"
                             "C {\n Shortcut = Y+2\n D {\n  Caption = y&\n }\n}\n";
    EXPECT_EQ(Describe(Check(text, nullptr)), "W accelerator A/B Caption\n"
                                              "W accelerator C/D Caption\n"
                                              "E shortcut A Shortcut\n"
                                              "E shortcut C Shortcut\n");
}

TEST(CheckDepth, DeepTreesNeedNoRecursionAndKeepPathsShort) {
    constexpr int kDepth = 300000;
    std::string text;
    for (int i = 0; i < kDepth; ++i)
        text += "N {\n";
    text += "Shortcut = nope\n";
    TTarvin t;
    t.LoadFromText(text);
    const auto findings = Shown(CheckLanguage(t, &t));
    ASSERT_EQ(findings.size(), 2u);
    EXPECT_EQ(findings[0].Kind, TCheckKind::Shortcut);
    EXPECT_LT(findings[0].Path.size(), 2000u);
    EXPECT_TRUE(findings[0].Path.ends_with("N/N/N"));
    // Once, where the depth passes anything a host file has.
    EXPECT_EQ(findings[1].Kind, TCheckKind::Structure);
    EXPECT_EQ(findings[1].Severity, TSeverity::Warning);
    EXPECT_TRUE(findings[1].Message.starts_with("the tree is nested more than 1000 levels deep"));
}

// A name quoted in another finding's message is cut short and escaped: a
// file of long names sharing a shortcut would otherwise quote megabytes in
// every finding, and a name could send escape sequences to the terminal.
TEST(CheckMessages, QuoteLongNamesShortAndEscaped) {
    const std::string name = "a\x1b[31m" + std::string(5000, 'x');
    const std::vector<TShownFinding> findings =
        Check("S {\n " + name + " {\n  Shortcut = Ctrl+O\n }\n B {\n  Shortcut = Ctrl+O\n }\n}\n",
              nullptr);
    ASSERT_EQ(findings.size(), 2u);
    EXPECT_EQ(findings[1].Message, "shortcut Ctrl+O is also used by a\\x1b[31m" +
                                       std::string(34, 'x') + "\u2026" + std::string(40, 'x') +
                                       " (5006 characters) in the same section");
}

TEST(CheckSeverity, CountsBySeverity) {
    const std::string base = "S {\n a = OK\n b = %s\n}\n";
    TTarvin t, b;
    t.LoadFromText("S {\n a = OK\n b = x\n Shortcut = x+y\n}\n");
    b.LoadFromText(base);
    const TFindings findings = CheckLanguage(t, &b);
    EXPECT_EQ(findings.Count(TSeverity::Error), 2);
    EXPECT_EQ(findings.Count(TSeverity::Warning), 0);
    EXPECT_EQ(findings.Count(TSeverity::Info), 1);
}

// A tree of the shapes the two-thread check splits, with something for every
// family on both sides of the split and across it.
std::string FormsTree(int topLevel, int forms, int depth, std::uint32_t variant) {
    std::minstd_rand draw(variant);
    auto next = [&draw](int n) { return static_cast<int>(draw() % static_cast<unsigned>(n)); };
    const char* const captions[] = {"&Open", "&open", "Cl&ose", "x&", "a& b", "&a&b", "Plain"};
    const char* const shortcuts[] = {"Ctrl+O", "Ctrl+S", "Alt+X", "nope", "F9", ""};
    const char* const texts[] = {"%s of %d", "%d", "50%", "Same", " pad", "a\nb", "Text"};
    std::string out;
    auto node = [&](const std::string& name, int values) {
        out += name + " {\n";
        for (int v = 0; v < values; ++v) {
            out += std::string("Caption = ") + captions[next(7)] + "\n";
            out += std::string("Shortcut = ") + shortcuts[next(6)] + "\n";
            out += std::string(next(2) ? "Items" : "Hint") + " = " + texts[next(7)] + "\n";
        }
    };
    out += "RootValue = x\n";
    for (int t = 0; t < topLevel; ++t) {
        node("Top" + std::to_string(t), 1);
        node("Loose", 2); // outside every form: the top level's scope
        out += "}\n";
        for (int f = 0; f < forms; ++f) {
            node("Form:f" + std::to_string(f), 1);
            for (int m = 0; m < 3; ++m) {
                node("Menu" + std::to_string(next(3)), 2);
                if (next(4) == 0) {
                    node("Form:inner", 2);
                    out += "}\n";
                }
                out += "}\n";
            }
            if (t == topLevel - 1 && f == forms - 1) {
                for (int d = 0; d < depth; ++d)
                    node("Deep", d % 400 == 0 ? 1 : 0);
                out += std::string(static_cast<std::size_t>(depth), '}');
            }
            out += "}\n";
        }
        out += "}\n";
    }
    return out;
}

// The second thread finds exactly what one thread finds, in the same order.
TEST(CheckThreads, TwoThreadsFindWhatOneFinds) {
    struct TCase {
        const char* name;
        int topLevel, forms, depth;
    };
    const TCase cases[] = {
        {"split among top-level nodes", 40, 0, 0},
        {"split among the forms of one node", 1, 60, 0},
        {"forms and a tree deeper than the warning", 2, 30, 1200},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        TTarvin t, b;
        t.LoadFromText(Crlf(FormsTree(c.topLevel, c.forms, c.depth, 1)));
        b.LoadFromText(Crlf(FormsTree(c.topLevel, c.forms, c.depth, 2)));
        ASSERT_TRUE(PlanCheckSplit(t.Root(), 0));
        for (const TTarvin* base : std::initializer_list<const TTarvin*>{nullptr, &b}) {
            const TTarvinItem* baseRoot = base ? &base->Root() : nullptr;
            const CodePage& cp = t.GetCodePage();
            const auto picture = [&](std::size_t splitFrom) {
                const auto findings = Shown(CheckTrees(t.Root(), cp, baseRoot, cp, splitFrom));
                std::string out;
                for (const TShownFinding& f : findings)
                    out += Describe({f}) + f.Text + "|" + f.Message + "|" +
                           std::to_string(reinterpret_cast<std::uintptr_t>(f.Item)) + ":" +
                           std::to_string(f.ValueIndex) + "\n";
                return out;
            };
            const std::string one = picture(kNoCheckSplit);
            EXPECT_GT(one.size(), 1000u);
            EXPECT_EQ(picture(0), one);
        }
    }
}

} // namespace
} // namespace trvx
