#include "cli/Command.h"
#include "cli/ExchangeCommands.h"
#include "cli/Options.h"

#include <CLI/CLI.hpp>

namespace trvx::cli {
namespace {

void DeclareImport(CLI::App& app, ImportRequest& o) {
    AddInputArgument(app, o.translation, "TRANSLATION", "the translation to change (.trvx)");
    AddInputArgument(app, o.exchangeFile, "FILE", "the XLIFF (.xlf, .xliff) or PO (.po) file");
    AddOutputOption(app, o.output);
    app.add_flag("--list", o.list, "list each value that changes on standard error: ~ ID");
    app.add_flag("--dry-run", o.dryRun, "report only; write nothing");
    app.add_flag("--strict", o.strict, "refuse a list value whose number of lines changes");
    AddCodePageOption(app, o.codePage);
}

const RegisterCommand
    reg({"import", "bring translated XLIFF or PO back into a translation",
         R"help(Sets each value whose target in FILE differs from its text, found by the
unit's id as `trvx export` wrote it. Every other byte of TRANSLATION stays
as it was: a changed value is written in the layout the editor would save,
in its place. Units without a target (XLIFF) or with an empty msgstr (PO)
are untranslated and change nothing. Line breaks compare as line breaks,
whatever form a tool gave them. The result goes to OUT (replaced
atomically; it may be TRANSLATION), or to standard output.

Nothing is written, and the error names the unit, when FILE is malformed
(with its line and column), holds an id twice or one TRANSLATION lacks, or a
target holds a character TRANSLATION's code page cannot hold. A list value
(Items, Strings) whose number of lines changes is warned about: the host
pairs its lines by position. With --strict it is refused.
)help",
         SetupOf(DeclareImport, RunImportRequest)});

} // namespace
} // namespace trvx::cli
