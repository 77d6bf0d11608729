#include "cli/Command.h"
#include "cli/ExchangeCommands.h"
#include "cli/Options.h"

#include <CLI/CLI.hpp>

namespace trvx::cli {
namespace {

struct TExportOptions {
    ExportRequest request;
    std::string reference, format;
};

void DeclareExport(CLI::App& app, TExportOptions& o) {
    AddInputArgument(app, o.request.translation, "TRANSLATION", "the translation to export");
    app.add_option("--ref", o.reference,
                   "take the sources from REFERENCE (.trvx, .exe or -), typically the\n"
                   "English original or the newer base")
        ->type_name("REFERENCE");
    AddFormatOption(app, o.format, {"xliff", "po"},
                    "the format; without it, by OUT's extension (.xlf, .po)");
    AddOutputOption(app, o.request.output);
    app.add_option("--source-lang", o.request.sourceLanguage,
                   "source-language of the XLIFF file (default en)")
        ->type_name("TAG");
    app.add_option("--target-lang", o.request.targetLanguage,
                   "target-language (XLIFF) and Language (PO header)")
        ->type_name("TAG");
    AddCodePageOption(app, o.request.codePage);
}

int RunExport(const TExportOptions& o) {
    ExportRequest request = o.request;
    if (!o.reference.empty())
        request.reference = o.reference;
    if (!o.format.empty())
        request.format = o.format;
    return RunExportRequest(request);
}

const RegisterCommand
    reg({"export", "write a translation as XLIFF 1.2 or PO for CAT tools",
         R"help(Writes one translation unit per value (the values of nodes, not the tree's
structure), in file order, as UTF-8. A unit's id is the value's path as
`trvx update --list` prints it, without " (value)": OBJECTS/Form:frmMain/Caption;
a name that repeats among its siblings gets \#2, \#3... from its second
occurrence on. The source is REFERENCE's text at the same place, else the
translation's own; the target is the translation's text. A note (XLIFF
<note>, PO #.) gives the node path and the kind: text, lines, or shortcut.
Shortcuts also carry translate="no" in XLIFF. Values with an empty source
are left out: there is nothing to translate.
)help",
         SetupOf(DeclareExport, RunExport)});

} // namespace
} // namespace trvx::cli
