#include "check/CheckText.h"
#include "check/Findings.h"
#include "editing/Shortcut.h"
#include "encoding/TextEscape.h"
#include "encoding/Utf8.h"

namespace trvx {

namespace {

std::string_view BaseText(const TFinding& f) {
    return f.Other->ValueText(f.OtherIndex);
}

void AppendQuoted(std::string& out, std::string_view utf8) {
    out += '"';
    out += utf8;
    out += '"';
}

void AppendLetter(std::string& out, char32_t letter) {
    out += '"';
    AppendUtf8(out, letter);
    out += '"';
}

// What reading does to a node's name, or to a value's ident, that holds
// the hazard.
std::string_view HazardWords(TNameHazard hazard, bool ident) {
    struct TWords {
        std::string_view name, ident;
    };
    const TWords words = [&]() -> TWords {
        switch (hazard) {
        case TNameHazard::Brace:
            return {"the name holds \"{\" or \"}\", which reading takes as a node of its own: "
                    "it is lost on save",
                    "the ident holds \"{\" or \"}\", which reading takes as a node: the value "
                    "is lost on save"};
        case TNameHazard::Equals:
            return {"the name holds \"=\", which reading takes as the start of a value: it is "
                    "lost on save",
                    "the ident holds \"=\", which reading takes as the start of the text: it "
                    "changes on save"};
        case TNameHazard::OuterBlanks:
            return {"the name has blanks at its ends, which reading drops: it changes on save",
                    "the ident has blanks at its ends, which reading drops: it changes on save"};
        case TNameHazard::LineBreak:
        case TNameHazard::None:
            break;
        }
        return {"the name holds a line break: text left over from the line above was read "
                "into it, so the host will not find this node",
                "the ident holds a line break: text left over from the line above was read "
                "into it, so the host will not find this value"};
    }();
    return ident ? words.ident : words.name;
}

void AppendWhitespace(std::string& out, const TFinding& f) {
    const auto describe = [&](std::string_view here, std::string_view base) {
        out += '(';
        out += here.empty() ? std::string("none") : std::to_string(here.size());
        out += " here, ";
        out += base.empty() ? std::string("none") : std::to_string(base.size());
        out += " in the base)";
    };
    const std::string_view text = f.Item->ValueText(f.ValueIndex), baseText = BaseText(f);
    const std::string_view lead = LeadingBlanks(text), baseLead = LeadingBlanks(baseText);
    const std::string_view trail = TrailingBlanks(text), baseTrail = TrailingBlanks(baseText);
    out += "blanks differ from the base ";
    if (lead != baseLead) {
        out += "at the start ";
        describe(lead, baseLead);
        if (trail != baseTrail)
            out += " and ";
    }
    if (trail != baseTrail) {
        out += "at the end ";
        describe(trail, baseTrail);
    }
}

void AppendPlaceholders(std::string& out, const TFindings& findings, const TFinding& f) {
    const TFormatScan mine = ScanFormat(f.Item->ValueText(f.ValueIndex));
    const TFormatScan base = ScanFormat(BaseText(f));
    const TPlaceholderDiff diff = ComparePlaceholders(mine, base);
    // Both lists are shown in the translation's code page, as placeholders are ASCII.
    const auto join = [&](const auto& list, auto written) {
        bool first = true;
        for (const auto& p : list) {
            out += first ? "" : " ";
            out += findings.Cp().ToUtf8(written(p));
            first = false;
        }
    };
    const auto same = [](std::string_view p) { return p; };
    const auto written = [](const TPlaceholder& p) { return p.Written; };
    out += "placeholders differ from the base: ";
    if (diff.Extra.empty()) {
        out += "missing ";
        join(diff.Missing, same);
    } else if (diff.Missing.empty()) {
        out += "not in the base ";
        join(diff.Extra, same);
    } else {
        out += "here ";
        join(mine.Placeholders, written);
        out += ", in the base ";
        join(base.Placeholders, written);
    }
}

void AppendSharedAccelerator(std::string& out, const TFindings& findings, const TFinding& f) {
    out += "accelerator ";
    AppendLetter(out, f.Letter);
    out += " is also used by ";
    const auto children = f.Other->Children();
    const auto others = static_cast<std::uint32_t>(f.OtherIndex);
    const std::uint32_t named = std::min<std::uint32_t>(others, f.Numbers.size());
    for (std::uint32_t k = 0; k < named; ++k) {
        out += k ? ", " : "";
        out += ShortText(findings.Cp().ToUtf8(children[f.Numbers[k]].Name.View()));
    }
    if (others > named)
        out += " and " + std::to_string(others - named) + " more";
}

void AppendMissingAccelerator(std::string& out, const TFindings& findings, const TFinding& f) {
    const std::string_view baseText = BaseText(f);
    const TAccelerator mark = FindAccelerator(baseText);
    auto pos = static_cast<std::size_t>(mark.Position);
    out += "the caption has no accelerator; the base marks ";
    AppendLetter(out, findings.BaseCp().NextChar(baseText, pos));
    out += " in ";
    AppendQuoted(out, ShortText(findings.BaseCp().ToUtf8(baseText)));
}

} // namespace

void AppendFindingMessage(std::string& out, const TFindings& findings, const TFinding& f) {
    const auto number = [&](std::size_t i) { return std::to_string(f.Numbers[i]); };
    switch (f.Message) {
    case TFindingMessage::DeepTree:
        out += "the tree is nested more than " + number(0) +
               " levels deep here, far deeper than any host file; every level indents the lines "
               "below it, so the written file grows with the square of the depth";
        return;
    case TFindingMessage::RootValue:
        out += "the root holds this value, and the root's values are not written: it is lost on "
               "save";
        return;
    case TFindingMessage::NameHazard:
        out += HazardWords(static_cast<TNameHazard>(f.Numbers[0]), false);
        return;
    case TFindingMessage::IdentHazard:
        out += HazardWords(static_cast<TNameHazard>(f.Numbers[0]), true);
        return;
    case TFindingMessage::ShortcutUnreadable:
        out += "the host cannot read this shortcut";
        return;
    case TFindingMessage::ShortcutShared:
        out += "shortcut " + ShortcutCaption(static_cast<TShortCut>(f.Numbers[0])) +
               " is also used by " +
               ShortText(findings.Cp().ToUtf8(findings.PathName(f.Numbers[2]))) +
               (f.Numbers[1] ? " in the same form" : " in the same section");
        return;
    case TFindingMessage::Untranslated:
        out += "the same text as the base";
        return;
    case TFindingMessage::ListLines:
        out += Counted(f.Numbers[0], "line", "lines") + ", the base has " + number(1);
        return;
    case TFindingMessage::Whitespace:
        AppendWhitespace(out, f);
        return;
    case TFindingMessage::PlaceholdersDiffer:
        AppendPlaceholders(out, findings, f);
        return;
    case TFindingMessage::LonePercent:
        out += "the \"%\" at character " + std::to_string(f.Numbers[0] + 1) +
               " starts no placeholder, but the base goes through the formatter (write \"%%\" "
               "for a percent sign)";
        return;
    case TFindingMessage::LoneAmpersandAtEnd:
        out += "the caption ends in a lone \"&\", which marks nothing (write \"&&\" for an "
               "ampersand)";
        return;
    case TFindingMessage::LoneAmpersandBeforeBlank:
        out += "an \"&\" before a blank marks no letter (write \"&&\" for an ampersand)";
        return;
    case TFindingMessage::SeveralMarks:
        out += "the caption marks " + number(0) + " accelerators; only one can work";
        return;
    case TFindingMessage::AcceleratorShared:
        AppendSharedAccelerator(out, findings, f);
        return;
    case TFindingMessage::MissingAccelerator:
        AppendMissingAccelerator(out, findings, f);
        return;
    case TFindingMessage::Text:
        out += findings.Words(f.Numbers[0]);
        return;
    }
}

} // namespace trvx
