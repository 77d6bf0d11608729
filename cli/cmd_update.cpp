#include "cli/CliIo.h"
#include "cli/UpdateCommon.h"
#include "language/UpdateMerge.h"
#include "language/UpdateReport.h"

#include <iostream>

namespace trvx::cli {
namespace {

int RunUpdate(const Args& args) {
    ArgParser p(args, {"--list", "--dry-run"}, {"-o"});
    p.ExpectPositional(2, 2);
    const bool dryRun = p.Has("--dry-run");

    TTarvin& translation = ProcessTree();
    TUpdateLists lists;
    LoadAndUpdate(translation, p.Positional()[0], p.Positional()[1], lists);
    // Paths are taken before pruning deletes what the removed entries name.
    if (p.Has("--list"))
        PrintUpdateLines(std::cerr, translation, lists);
    const std::string summary = UpdateSummary(lists);
    PruneRemoved(translation.Root(), lists);
    lists.ClearUpdateLists();
    if (!dryRun)
        SaveTree(translation, p.Value("-o").value_or(""));
    std::cerr << "trvx update: " << summary << (dryRun ? " (dry run, nothing written)" : "")
              << "\n";
    return 0;
}

const RegisterCommand
    reg({"update", "carry a translation over to a newer base",
         "usage: trvx update TRANSLATION NEWBASE [-o OUT] [--list] [--dry-run]\n\n"
         "Does what Update To followed by Save does in the editor. Whatever NEWBASE\n"
         "has and TRANSLATION lacks is copied in with NEWBASE's (untranslated) text;\n"
         "whatever TRANSLATION has and NEWBASE no longer has is deleted. Texts of\n"
         "entries that both have are kept as TRANSLATION has them. Nodes match by\n"
         "name and values by ident, letter case ignored as the translation's\n"
         "language folds it. Either file may be .trvx, .exe or - (standard input).\n\n"
         "The result goes to OUT, replaced atomically (OUT may be TRANSLATION), or\n"
         "to standard output. A summary goes to standard error:\n"
         "  trvx update: added 2 nodes, 1 value; removed 1 node, 2 values\n"
         "Every node of a copied subtree counts as an added node; its values come\n"
         "with it and are not counted. A removed node counts once, with everything\n"
         "below it.\n\n"
         "Options:\n"
         "  -o OUT     write the updated translation to OUT\n"
         "  --list     also list each counted entry on standard error, in file order:\n"
         "               + OBJECTS/Form:frmMain/Menu:mnuFile/Action:actSaveAll\n"
         "               - STRINGS/SOldMessage (value)\n"
         "             A path joins node names with /; a value adds /, its ident\n"
         "             and \" (value)\". In names, \\ and / are written \\\\ and \\/\n"
         "             and control characters as \\xHH.\n"
         "  --dry-run  report only; write nothing\n",
         RunUpdate});

} // namespace
} // namespace trvx::cli
