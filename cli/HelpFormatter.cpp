#include "cli/HelpFormatter.h"

#include <algorithm>

namespace trvx::cli {

namespace {

bool TakesValue(const CLI::Option& option) {
    return option.get_expected_min() > 0;
}

std::string CommandPath(const CLI::App& app) {
    const CLI::App* parent = app.get_parent();
    return parent ? CommandPath(*parent) + " " + app.get_name() : app.get_name();
}

std::string OptionNames(const CLI::Option& option) {
    std::string names;
    for (const std::string& s : option.get_snames())
        names += (names.empty() ? "-" : ", -") + s;
    for (const std::string& l : option.get_lnames())
        names += (names.empty() ? "--" : ", --") + l;
    if (TakesValue(option))
        names += " " + option.get_type_name();
    return names;
}

// The option as the usage line shows it: its shortest name and its value.
std::string UsageWord(const CLI::Option& option) {
    if (option.get_positional())
        return option.get_required() ? option.get_name() : "[" + option.get_name() + "]";
    std::string word = option.get_snames().empty() ? "--" + option.get_lnames().front()
                                                   : "-" + option.get_snames().front();
    if (TakesValue(option))
        word += " " + option.get_type_name();
    return option.get_required() ? word : "[" + word + "]";
}

bool IsHelp(const CLI::App& app, const CLI::Option* option) {
    return option == app.get_help_ptr();
}

} // namespace

std::string UsageLine(const CLI::App& app) {
    std::string line = "usage: " + CommandPath(app);
    for (const CLI::Option* option : app.get_options())
        if (option->get_positional())
            line += " " + UsageWord(*option);
    for (const CLI::Option* option : app.get_options())
        if (!option->get_positional() && !IsHelp(app, option))
            line += " " + UsageWord(*option);
    return line;
}

std::string Overview(const CLI::App& root) {
    std::string out = "usage: trvx COMMAND [ARGS...]\n\n"
                      "Batch jobs on Tarvin language files (.trvx) and host executables (.exe).\n\n"
                      "Commands:\n";
    std::vector<const CLI::App*> commands =
        root.get_subcommands([](const CLI::App*) { return true; });
    std::sort(commands.begin(), commands.end(),
              [](const CLI::App* a, const CLI::App* b) { return a->get_name() < b->get_name(); });
    for (const CLI::App* c : commands) {
        std::string name = c->get_name();
        name.resize(std::max<std::size_t>(name.size() + 1, 10), ' ');
        out += "  " + name + c->get_description() + "\n";
    }
    out += "\nOptions:\n"
           "  -h, --help  show this help\n"
           "  --version   show the version of trvx\n\n"
           "Run 'trvx help COMMAND' or 'trvx COMMAND --help' for a command's options.\n";
    return out;
}

std::string THelpFormatter::make_help(const CLI::App* app, std::string, CLI::AppFormatMode) const {
    if (!app->get_parent())
        return Overview(*app);
    std::string out = UsageLine(*app) + "\n\n" + app->get_footer();
    std::vector<const CLI::Option*> options;
    for (const CLI::Option* option : app->get_options())
        if (!option->get_positional())
            options.push_back(option);
    std::size_t width = 0;
    for (const CLI::Option* option : options)
        width = std::max(width, OptionNames(*option).size());
    out += "\nOptions:\n";
    for (const CLI::Option* option : options) {
        std::string names = OptionNames(*option);
        names.resize(width + 2, ' ');
        std::string description = option->get_description();
        // Continuation lines of a description line up under its first.
        for (std::size_t at = description.find('\n'); at != std::string::npos;
             at = description.find('\n', at + 1))
            description.insert(at + 1, std::string(width + 4, ' '));
        out += "  " + names + description + "\n";
    }
    return out;
}

} // namespace trvx::cli
