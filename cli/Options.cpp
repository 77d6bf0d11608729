#include "cli/Options.h"

#include "encoding/CodePage.h"

#include <CLI/CLI.hpp>

namespace trvx::cli {

namespace {

// An empty file name would silently mean standard output or "not given".
const CLI::Validator kNonEmpty(
    [](std::string& value) { return value.empty() ? std::string("an empty file name") : ""; }, "");

std::string JoinChoices(const std::vector<std::string>& choices, std::string_view separator) {
    std::string joined;
    for (const std::string& c : choices)
        joined += (joined.empty() ? "" : std::string(separator)) + c;
    return joined;
}

// Accepts one of choices; else says what was given (at %s in complaint)
// and lists the choices.
CLI::Validator OneOf(std::vector<std::string> choices, std::string_view complaint) {
    return CLI::Validator(
        [choices = std::move(choices), complaint = std::string(complaint)](std::string& value) {
            for (const std::string& c : choices)
                if (value == c)
                    return std::string();
            std::string said = complaint;
            said.replace(said.find("%s"), 2, value);
            return said + " (" + JoinChoices(choices, ", ") + ")";
        },
        "");
}

} // namespace

CLI::Option* AddInputArgument(CLI::App& app, std::string& fileName, std::string_view name,
                              std::string_view description) {
    return app.add_option(std::string(name), fileName, std::string(description))
        ->required()
        ->check(kNonEmpty);
}

namespace {
// An option naming a file: never given as an empty name.
CLI::Option* AddFileOption(CLI::App& app, const std::string& flags, std::string& fileName,
                           const std::string& description, const std::string& typeName) {
    return app.add_option(flags, fileName, description)->type_name(typeName)->check(kNonEmpty);
}
} // namespace

CLI::Option* AddOutputOption(CLI::App& app, std::string& fileName) {
    return AddFileOption(app, "-o,--output", fileName,
                         "write to OUT (replaced atomically), not to standard output", "OUT");
}

CLI::Option* AddBaseOption(CLI::App& app, std::string& fileName) {
    return AddFileOption(app, "--base", fileName,
                         "the host's own language data of the same version (.trvx, .exe or -)",
                         "BASE");
}

CLI::Option* AddForceOption(CLI::App& app, bool& force, std::string_view description) {
    return app.add_flag("--force", force, std::string(description));
}

CLI::Option* AddCodePageOption(CLI::App& app, int& codePage) {
    std::vector<std::string> pages;
    for (const int id : CodePage::SupportedIds())
        pages.push_back(std::to_string(id));
    return app
        .add_option("--codepage", codePage,
                    "read the translation in this Windows code page, not the one its LangID "
                    "implies")
        ->type_name("N")
        ->check(OneOf(std::move(pages), "code page '%s' is not supported"));
}

CLI::Option* AddFormatOption(CLI::App& app, std::string& format,
                             const std::vector<std::string>& choices,
                             std::string_view description) {
    std::string said(description);
    if (said.empty()) {
        format = choices.front();
        said = "the report's format (default " + format + ")";
    }
    return app.add_option("--format", format, said)
        ->type_name(JoinChoices(choices, "|"))
        ->check(OneOf(choices, "unknown format '%s'"));
}

void DeclareReportOptions(CLI::App& app, TReportOptions& o, std::string_view fileDescription,
                          const std::vector<std::string>& formats) {
    AddInputArgument(app, o.file, "TRANSLATION", fileDescription);
    AddBaseOption(app, o.base);
    AddFormatOption(app, o.format, formats);
    AddCodePageOption(app, o.codePage);
}

} // namespace trvx::cli
