#include "cli/Command.h"
#include "cli/ExchangeCommands.h"
#include "cli/Options.h"

#include <CLI/CLI.hpp>

#include <memory>

namespace trvx::cli {
namespace {

struct TExportOptions {
    ExportRequest request;
    std::string reference, format;
};

CommandRun SetupExport(CLI::App& app) {
    auto o = std::make_shared<TExportOptions>();
    AddInputArgument(app, o->request.translation, "TRANSLATION", "the translation to export");
    app.add_option("--ref", o->reference,
                   "take the sources from REFERENCE (.trvx, .exe or -), typically the\n"
                   "English original or the newer base")
        ->type_name("REFERENCE");
    AddFormatOption(app, o->format, {"xliff", "po"},
                    "the format; without it, by OUT's extension (.xlf, .po)");
    AddOutputOption(app, o->request.output);
    app.add_option("--source-lang", o->request.sourceLanguage,
                   "source-language of the XLIFF file (default en)")
        ->type_name("TAG");
    app.add_option("--target-lang", o->request.targetLanguage,
                   "target-language (XLIFF) and Language (PO header)")
        ->type_name("TAG");
    AddCodePageOption(app, o->request.codePage);
    return [o] {
        if (!o->reference.empty())
            o->request.reference = o->reference;
        if (!o->format.empty())
            o->request.format = o->format;
        return RunExportRequest(o->request);
    };
}

const RegisterCommand
    reg({"export", "write a translation as XLIFF 1.2 or PO for CAT tools",
         "Writes one translation unit per value (the values of nodes, not the tree's\n"
         "structure), in file order, as UTF-8. A unit's id is the value's path as\n"
         "`trvx update --list` prints it, without \" (value)\": OBJECTS/Form:frmMain/Caption;\n"
         "a name that repeats among its siblings gets \\#2, \\#3... from its second\n"
         "occurrence on. The source is REFERENCE's text at the same place, else the\n"
         "translation's own; the target is the translation's text. A note (XLIFF\n"
         "<note>, PO #.) gives the node path and the kind: text, lines, or shortcut.\n"
         "Shortcuts also carry translate=\"no\" in XLIFF. Values with an empty source\n"
         "are left out: there is nothing to translate.\n",
         SetupExport});

} // namespace
} // namespace trvx::cli
