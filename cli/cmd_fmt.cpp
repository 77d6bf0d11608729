#include "cli/CliIo.h"
#include "cli/Options.h"

#include <CLI/CLI.hpp>

#include <memory>

namespace trvx::cli {
namespace {

struct TFmtOptions {
    std::string file, output;
    bool force = false;
};

int RunFmt(const TFmtOptions& o) {
    TTarvin& tree = ProcessTree();
    LoadInput(tree, o.file);
    SaveCheckedTree({o.file, tree}, o.output, o.force);
    return 0;
}

CommandRun SetupFmt(CLI::App& app) {
    auto o = std::make_shared<TFmtOptions>();
    AddInputArgument(app, o->file, "FILE", "the file to read");
    AddOutputOption(app, o->output);
    AddForceOption(app, o->force);
    return [o] { return RunFmt(*o); };
}

const RegisterCommand reg({"fmt", "write a language file back in the canonical layout",
                           "Reads FILE (.trvx, .exe or - for standard input) and writes it in the\n"
                           "canonical layout to OUT, or to standard output. OUT is replaced\n"
                           "atomically: it is either the old file or the complete new one.\n\n"
                           "A read that loses text (after a NUL, a value the end cuts off,\n"
                           "values of the root) is reported; it is not written over an\n"
                           "existing OUT without --force.\n",
                           SetupFmt});

} // namespace
} // namespace trvx::cli
