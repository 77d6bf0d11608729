#include "cli/CliIo.h"

namespace trvx::cli {
namespace {

int RunFmt(const Args& args) {
    ArgParser p(args, {}, {"-o"});
    p.ExpectPositional(1, 1);
    TTarvin& tree = ProcessTree();
    LoadInput(tree, p.Positional()[0]);
    SaveTree(tree, p.Value("-o").value_or(""));
    return 0;
}

const RegisterCommand reg({"fmt", "write a language file back in the canonical layout",
                           "usage: trvx fmt FILE [-o OUT]\n\n"
                           "Reads FILE (.trvx, .exe or - for standard input) and writes it in the\n"
                           "canonical layout to OUT, or to standard output. OUT is replaced\n"
                           "atomically: it is either the old file or the complete new one.\n",
                           RunFmt});

} // namespace
} // namespace trvx::cli
