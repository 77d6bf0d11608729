#include "cli/CliIo.h"
#include "cli/UpdateCommon.h"

#include <exception>
#include <iostream>

namespace trvx::cli {
namespace {

int RunDiff(const Args& args) {
    ArgParser p(args, {"-q"}, {});
    p.ExpectPositional(2, 2);
    // Like diff: 1 means "they differ", so trouble needs a status of its own.
    try {
        TTarvin a;
        TUpdateLists lists;
        LoadAndUpdate(a, p.Positional()[0], p.Positional()[1], lists);
        if (!p.Has("-q"))
            PrintUpdateLines(std::cout, a, lists);
        std::cout.flush();
        return lists.IsEmpty() ? 0 : 1;
    } catch (const std::exception& e) {
        std::cout.flush();
        std::cerr << "trvx: " << e.what() << "\n";
        return 2;
    }
}

const RegisterCommand
    reg({"diff", "list the nodes and values one version adds or drops",
         "usage: trvx diff A B [-q]\n\n"
         "Compares two versions of the language data the way Update To would carry\n"
         "A over to B, and changes nothing. Prints on standard output what B adds\n"
         "(+) and what A has that B no longer has (-), one path per line, in A's\n"
         "file order, as trvx update --list does:\n"
         "  + OBJECTS/Form:frmMain/Menu:mnuFile/Action:actSaveAll\n"
         "  - STRINGS/SOldMessage (value)\n"
         "Nodes match by name and values by ident, letter case ignored as A's\n"
         "language folds it. Texts are not compared. Either file may be .trvx,\n"
         ".exe or - (standard input).\n\n"
         "Options:\n"
         "  -q   print nothing; the exit status tells\n\n"
         "Exit status: 0 when B adds and drops nothing, 1 when it does, 2 on error.\n",
         RunDiff});

} // namespace
} // namespace trvx::cli
