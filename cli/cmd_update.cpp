#include "cli/CliIo.h"
#include "cli/Options.h"
#include "cli/UpdateCommon.h"
#include "tree/Errors.h"
#include "update/RemovedEntries.h"
#include "update/UpdateMerge.h"
#include "update/UpdateReport.h"

#include <CLI/CLI.hpp>

#include <iostream>

namespace trvx::cli {
namespace {

struct TUpdateOptions {
    std::string translation, base, output;
    bool list = false, dryRun = false, force = false;
    int codePage = 0;
};

void DeclareUpdate(CLI::App& app, TUpdateOptions& o) {
    AddInputArgument(app, o.translation, "TRANSLATION", "the translation to carry over");
    AddInputArgument(app, o.base, "NEWBASE", "the newer base");
    AddOutputOption(app, o.output);
    app.add_flag("--list", o.list,
                 "also list each counted entry on standard error, in file order:\n"
                 "  + OBJECTS/Form:frmMain/Menu:mnuFile/Action:actSaveAll\n"
                 "  - STRINGS/SOldMessage (value)\n"
                 "A path joins node names with /; a value adds /, its ident\n"
                 "and \" (value)\". In names, \\ and / are written \\\\ and \\/\n"
                 "and control characters as \\xHH.");
    app.add_flag("--dry-run", o.dryRun, "report only; write nothing");
    AddForceOption(app, o.force,
                   "write even over a file when a read lost text, or when NEWBASE\n"
                   "holds no node at all");
    AddCodePageOption(app, o.codePage);
}

int RunUpdate(const TUpdateOptions& o) {
    TTarvin& translation = ProcessTree();
    translation.SetCodePageOverride(o.codePage);
    TUpdateLists lists;
    const TTarvin& base = LoadAndUpdate(translation, o.translation, o.base, lists);
    // A base that reads as nothing would delete the whole translation.
    if (base.Root().ChildCount() == 0 && !o.force)
        throw ETrvxError(ShownName(o.base) +
                         " holds no node: updating onto it would delete the whole translation "
                         "(--force updates anyway)");
    CheckLosses({{o.translation, translation}, {o.base, base}}, o.dryRun ? "" : o.output, o.force);
    if (o.list)
        PrintUpdateLines(std::cerr, translation, lists);
    const std::string summary = UpdateSummary(lists);
    // The removed entries are skipped as the tree is written: pruning first
    // would walk the whole tree once more only to free what exit frees anyway.
    if (!o.dryRun) {
        const TRemovedEntries removed(lists);
        SaveTree(translation, o.output, &removed);
    }
    std::cerr << "trvx update: " << summary << (o.dryRun ? " (dry run, nothing written)" : "")
              << "\n";
    return 0;
}

const RegisterCommand
    reg({"update", "carry a translation over to a newer base",
         R"help(Does what Update To followed by Save does in the editor. Whatever NEWBASE
has and TRANSLATION lacks is copied in with NEWBASE's (untranslated) text;
whatever TRANSLATION has and NEWBASE no longer has is deleted. Texts of
entries that both have are kept as TRANSLATION has them. Nodes match by
name and values by ident, letter case ignored as the translation's
language folds it. Either file may be .trvx, .exe or - (standard input).

The result goes to OUT, replaced atomically (OUT may be TRANSLATION), or
to standard output. A summary goes to standard error:
  trvx update: added 2 nodes, 1 value; removed 1 node, 2 values
Every node of a copied subtree counts as an added node; its values come
with it and are not counted. A removed node counts once, with everything
below it.

A read of either file that loses text (after a NUL, a value the end cuts
off, values of the root) is reported; the result is not written over an
existing OUT without --force, nor is a NEWBASE that holds no node used.
)help",
         SetupOf(DeclareUpdate, RunUpdate)});

} // namespace
} // namespace trvx::cli
