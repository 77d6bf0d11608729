#include "cli/CliIo.h"
#include "cli/Options.h"
#include "pe/PeResource.h"
#include "tree/Errors.h"

#include <CLI/CLI.hpp>

#include <memory>

namespace trvx::cli {
namespace {

struct TExtractOptions {
    std::string module, output;
    bool raw = false, force = false;
};

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

CommandRun SetupExtract(CLI::App& app) {
    auto o = std::make_shared<TExtractOptions>();
    AddInputArgument(app, o->module, "MODULE", "the executable or library to read");
    AddOutputOption(app, o->output);
    app.add_flag("--raw", o->raw, "write the resource's bytes exactly as stored");
    AddForceOption(app, o->force);
    return [o] { return RunExtract(*o); };
}

const RegisterCommand reg({"extract", "write the language text a host module carries",
                           "Reads the resource Tarvin of the executable or library MODULE and\n"
                           "writes its language text in the canonical layout to OUT, or to\n"
                           "standard output. --raw writes the resource's bytes exactly as stored.\n"
                           "OUT is replaced atomically. A read that loses text is reported; it is\n"
                           "not written over an existing OUT without --force.\n",
                           SetupExtract});

} // namespace
} // namespace trvx::cli
