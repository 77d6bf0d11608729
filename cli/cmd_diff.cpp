#include "cli/CliIo.h"
#include "cli/Options.h"
#include "cli/UpdateCommon.h"

#include <CLI/CLI.hpp>

#include <exception>
#include <iostream>

namespace trvx::cli {
namespace {

struct TDiffOptions {
    std::string a, b;
    bool quiet = false;
    int codePage = 0;
};

void DeclareDiff(CLI::App& app, TDiffOptions& o) {
    AddInputArgument(app, o.a, "A", "the older version");
    AddInputArgument(app, o.b, "B", "the newer version");
    app.add_flag("-q", o.quiet, "print nothing; the exit status tells");
    AddCodePageOption(app, o.codePage);
}

int RunDiff(const TDiffOptions& o) {
    // Like diff: 1 means "they differ", so trouble needs a status of its own.
    try {
        TTarvin a;
        a.SetCodePageOverride(o.codePage);
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

const RegisterCommand
    reg({"diff", "list the nodes and values one version adds or drops",
         R"help(Compares two versions of the language data the way Update To would carry
A over to B, and changes nothing. Prints on standard output what B adds
(+) and what A has that B no longer has (-), one path per line, in A's
file order, as trvx update --list does:
  + OBJECTS/Form:frmMain/Menu:mnuFile/Action:actSaveAll
  - STRINGS/SOldMessage (value)
Nodes match by name and values by ident, letter case ignored as A's
language folds it. Texts are not compared. Either file may be .trvx,
.exe or - (standard input).

Exit status: 0 when B adds and drops nothing, 1 when it does, 2 on error.
)help",
         SetupOf(DeclareDiff, RunDiff)});

} // namespace
} // namespace trvx::cli
