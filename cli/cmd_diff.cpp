#include "cli/CliIo.h"
#include "cli/Options.h"
#include "cli/UpdateCommon.h"

#include <CLI/CLI.hpp>

#include <exception>
#include <iostream>
#include <memory>

namespace trvx::cli {
namespace {

struct TDiffOptions {
    std::string a, b;
    bool quiet = false;
};

int RunDiff(const TDiffOptions& o) {
    // Like diff: 1 means "they differ", so trouble needs a status of its own.
    try {
        TTarvin a;
        TUpdateLists lists;
        const TTarvin& b = LoadAndUpdate(a, o.a, o.b, lists);
        WarnAboutLosses({{o.a, a}, {o.b, b}});
        if (!o.quiet)
            PrintUpdateLines(std::cout, a, lists);
        FlushStandardOutput();
        return lists.IsEmpty() ? 0 : 1;
    } catch (const std::exception& e) {
        std::cout.flush();
        std::cerr << "trvx: " << e.what() << "\n";
        return 2;
    }
}

CommandRun SetupDiff(CLI::App& app) {
    auto o = std::make_shared<TDiffOptions>();
    AddInputArgument(app, o->a, "A", "the older version");
    AddInputArgument(app, o->b, "B", "the newer version");
    app.add_flag("-q", o->quiet, "print nothing; the exit status tells");
    return [o] { return RunDiff(*o); };
}

const RegisterCommand
    reg({"diff", "list the nodes and values one version adds or drops",
         "Compares two versions of the language data the way Update To would carry\n"
         "A over to B, and changes nothing. Prints on standard output what B adds\n"
         "(+) and what A has that B no longer has (-), one path per line, in A's\n"
         "file order, as trvx update --list does:\n"
         "  + OBJECTS/Form:frmMain/Menu:mnuFile/Action:actSaveAll\n"
         "  - STRINGS/SOldMessage (value)\n"
         "Nodes match by name and values by ident, letter case ignored as A's\n"
         "language folds it. Texts are not compared. Either file may be .trvx,\n"
         ".exe or - (standard input).\n\n"
         "Exit status: 0 when B adds and drops nothing, 1 when it does, 2 on error.\n",
         SetupDiff});

} // namespace
} // namespace trvx::cli
