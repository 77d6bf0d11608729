#include "cli/CliIo.h"
#include "cli/Options.h"

#include <CLI/CLI.hpp>

namespace trvx::cli {
namespace {

struct TFmtOptions {
    std::string file, output;
    bool force = false;
};

void DeclareFmt(CLI::App& app, TFmtOptions& o) {
    AddInputArgument(app, o.file, "FILE", "the file to read");
    AddOutputOption(app, o.output);
    AddForceOption(app, o.force);
}

int RunFmt(const TFmtOptions& o) {
    TTarvin& tree = ProcessTree();
    LoadInput(tree, o.file);
    SaveCheckedTree({o.file, tree}, o.output, o.force);
    return 0;
}

const RegisterCommand
    reg({"fmt", "write a language file back in the canonical layout",
         R"help(Reads FILE (.trvx, .exe or - for standard input) and writes it in the
canonical layout to OUT, or to standard output. OUT is replaced
atomically: it is either the old file or the complete new one.

A read that loses text (after a NUL, a value the end cuts off,
values of the root) is reported; it is not written over an
existing OUT without --force.
)help",
         SetupOf(DeclareFmt, RunFmt)});

} // namespace
} // namespace trvx::cli
