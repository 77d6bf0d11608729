#include "cli/Command.h"
#include "cli/ExchangeCommands.h"
#include "cli/Options.h"

#include <CLI/CLI.hpp>

#include <memory>

namespace trvx::cli {
namespace {

CommandRun SetupImport(CLI::App& app) {
    auto o = std::make_shared<ImportRequest>();
    AddInputArgument(app, o->translation, "TRANSLATION", "the translation to change (.trvx)");
    AddInputArgument(app, o->exchangeFile, "FILE", "the XLIFF (.xlf, .xliff) or PO (.po) file");
    AddOutputOption(app, o->output);
    app.add_flag("--list", o->list, "list each value that changes on standard error: ~ ID");
    app.add_flag("--dry-run", o->dryRun, "report only; write nothing");
    app.add_flag("--strict", o->strict, "refuse a list value whose number of lines changes");
    AddCodePageOption(app, o->codePage);
    return [o] { return RunImportRequest(*o); };
}

const RegisterCommand
    reg({"import", "bring translated XLIFF or PO back into a translation",
         "Sets each value whose target in FILE differs from its text, found by the\n"
         "unit's id as `trvx export` wrote it. Every other byte of TRANSLATION stays\n"
         "as it was: a changed value is written in the layout the editor would save,\n"
         "in its place. Units without a target (XLIFF) or with an empty msgstr (PO)\n"
         "are untranslated and change nothing. Line breaks compare as line breaks,\n"
         "whatever form a tool gave them. The result goes to OUT (replaced\n"
         "atomically; it may be TRANSLATION), or to standard output.\n\n"
         "Nothing is written, and the error names the unit, when FILE is malformed\n"
         "(with its line and column), holds an id twice or one TRANSLATION lacks, or a\n"
         "target holds a character TRANSLATION's code page cannot hold. A list value\n"
         "(Items, Strings) whose number of lines changes is warned about: the host\n"
         "pairs its lines by position. With --strict it is refused.\n",
         SetupImport});

} // namespace
} // namespace trvx::cli
