#include "cli/ManPage.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <stdexcept>
#include <vector>

namespace trvx::cli {

namespace {

std::string Roff(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c == '-' || c == '\\')
            out += '\\';
        out += c == '\\' ? 'e' : c;
    }
    return out;
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool TakesValue(const CLI::Option& option) {
    return option.get_expected_min() > 0;
}

std::string OptionName(const CLI::Option& option) {
    return Roff(option.get_snames().empty() ? "--" + option.get_lnames().front()
                                            : "-" + option.get_snames().front());
}

// "text|json" names the choices, set in bold; any other value is a
// placeholder, in italics.
std::vector<std::string> Choices(const CLI::Option& option) {
    std::vector<std::string> choices;
    const std::string type = option.get_type_name();
    if (type.find('|') == std::string::npos)
        return choices;
    for (std::size_t from = 0;;) {
        const std::size_t bar = type.find('|', from);
        choices.push_back(Roff(type.substr(from, bar - from)));
        if (bar == std::string::npos)
            return choices;
        from = bar + 1;
    }
}

std::string Join(const std::vector<std::string>& words, std::string_view separator) {
    std::string out;
    for (const std::string& w : words)
        out += (out.empty() ? "" : std::string(separator)) + w;
    return out;
}

std::vector<const CLI::Option*> Positionals(const CLI::App& app) {
    std::vector<const CLI::Option*> out;
    for (const CLI::Option* o : app.get_options())
        if (o->get_positional())
            out.push_back(o);
    return out;
}

std::vector<const CLI::Option*> Flags(const CLI::App& app) {
    std::vector<const CLI::Option*> out;
    for (const CLI::Option* o : app.get_options())
        if (!o->get_positional() && o != app.get_help_ptr())
            out.push_back(o);
    return out;
}

std::string SynopsisEntry(const CLI::App& app) {
    std::string out = ".B trvx " + Roff(app.get_name()) + "\n";
    std::vector<std::string> required;
    for (const CLI::Option* o : Positionals(app)) {
        if (o->get_required()) {
            required.push_back(Roff(Lower(o->get_name())));
            continue;
        }
        if (!required.empty())
            out += ".I " + Join(required, " ") + "\n";
        required.clear();
        out += ".RI [ " + Roff(Lower(o->get_name())) + " ]\n";
    }
    if (!required.empty())
        out += ".I " + Join(required, " ") + "\n";
    for (const CLI::Option* o : Flags(app)) {
        out += ".RB [ " + OptionName(*o);
        if (!TakesValue(*o)) {
            out += " ]\n";
            continue;
        }
        const std::vector<std::string> choices = Choices(*o);
        out += choices.empty() ? "\n.IR " + Roff(Lower(o->get_type_name())) + " ]\n"
                               : "\n.BR " + Join(choices, " | ") + " ]\n";
    }
    return out;
}

// The section heading: one .BI line, bold and italic in turn.
std::string Heading(const CLI::App& app) {
    std::vector<std::string> parts{Roff(app.get_name()) + " "}; // even indices bold
    auto bold = [&](const std::string& text) {
        if (parts.size() % 2 == 0)
            parts.emplace_back();
        parts.back() += text;
    };
    auto italic = [&](const std::string& text) {
        if (parts.size() % 2 == 1)
            parts.emplace_back();
        parts.back() += text;
    };
    bool first = true;
    for (const CLI::Option* o : Positionals(app)) {
        if (!first)
            bold(" ");
        first = false;
        if (!o->get_required())
            bold("\\fR[\\fP");
        italic(Roff(Lower(o->get_name())));
        if (!o->get_required())
            bold("\\fR]\\fP");
    }
    for (const CLI::Option* o : Flags(app)) {
        bold(" \\fR[\\fP" + OptionName(*o));
        if (TakesValue(*o)) {
            const std::vector<std::string> choices = Choices(*o);
            if (choices.empty()) {
                bold(" ");
                italic(Roff(Lower(o->get_type_name())));
            } else {
                bold(" " + Join(choices, "\\fR|\\fP"));
            }
        }
        bold("\\fR]\\fP");
    }
    std::string out = ".BI";
    for (const std::string& p : parts)
        out += " \"" + p + "\"";
    return out + "\n";
}

} // namespace

std::string ManPage(const CLI::App& root, std::string_view page, std::string_view version) {
    std::map<std::string, const CLI::App*> commands;
    for (const CLI::App* c : root.get_subcommands([](const CLI::App*) { return true; }))
        if (c->get_name() != "help")
            commands[c->get_name()] = c;
    std::map<std::string, int> synopses, headings;
    std::string out;
    for (std::size_t from = 0; from < page.size();) {
        std::size_t end = page.find('\n', from);
        end = end == std::string_view::npos ? page.size() : end + 1;
        std::string line(page.substr(from, end - from));
        from = end;
        for (const auto& [marker, seen] :
             {std::pair{"@SYNOPSIS ", &synopses}, std::pair{"@USAGE ", &headings}}) {
            const std::string_view key = marker;
            if (!line.starts_with(key))
                continue;
            const std::string name = line.substr(key.size(), line.find('@', 1) - key.size());
            const auto it = commands.find(name);
            if (it == commands.end())
                throw std::runtime_error("the man page names no command '" + name + "'");
            ++(*seen)[name];
            line = seen == &synopses ? SynopsisEntry(*it->second) : Heading(*it->second);
        }
        for (std::size_t at; (at = line.find("@VERSION@")) != std::string::npos;)
            line.replace(at, 9, version);
        out += line;
    }
    for (const auto& [name, app] : commands)
        if (synopses[name] != 1 || headings[name] != 1)
            throw std::runtime_error("the man page must show command '" + name +
                                     "' once in the synopsis and once among the commands");
    return out;
}

} // namespace trvx::cli
