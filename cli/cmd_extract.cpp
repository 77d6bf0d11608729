#include "cli/CliIo.h"
#include "cli/Options.h"
#include "pe/PeResource.h"
#include "tree/Errors.h"

#include <CLI/CLI.hpp>

namespace trvx::cli {
namespace {

struct TExtractOptions {
    std::string module, output;
    bool raw = false, force = false;
};

void DeclareExtract(CLI::App& app, TExtractOptions& o) {
    AddInputArgument(app, o.module, "MODULE", "the executable or library to read");
    AddOutputOption(app, o.output);
    app.add_flag("--raw", o.raw, "write the resource's bytes exactly as stored");
    AddForceOption(app, o.force);
}

int RunExtract(const TExtractOptions& o) {
    // Any file name is taken as a module here, whatever its extension.
    const TPeModule module = OpenModule(o.module);
    if (o.raw) {
        std::optional<TByteBuffer> bytes =
            ReadNamedResource(module, kLanguageResource, kLanguageResource);
        if (!bytes)
            throw ETrvxError(o.module + ": " + EResNotFound(kLanguageResource).what());
        WriteOutput(o.output, {bytes->Data(), bytes->Size()});
        return 0;
    }
    TTarvin& tree = ProcessTree();
    LoadFromModule(tree, module, o.module);
    SaveCheckedTree({o.module, tree}, o.output, o.force);
    return 0;
}

const RegisterCommand reg({"extract", "write the language text a host module carries",
                           R"help(Reads the resource Tarvin of the executable or library MODULE and
writes its language text in the canonical layout to OUT, or to
standard output. --raw writes the resource's bytes exactly as stored.
OUT is replaced atomically. A read that loses text is reported; it is
not written over an existing OUT without --force.
)help",
                           SetupOf(DeclareExtract, RunExtract)});

} // namespace
} // namespace trvx::cli
