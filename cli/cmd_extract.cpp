#include "cli/CliIo.h"
#include "cli/Options.h"
#include "language/Errors.h"
#include "language/PeResource.h"

#include <CLI/CLI.hpp>

#include <memory>

namespace trvx::cli {
namespace {

struct TExtractOptions {
    std::string module, output;
    bool raw = false;
};

int RunExtract(const TExtractOptions& o) {
    // Any file name is taken as a module here, whatever its extension.
    std::optional<TPeModule> module = TPeModule::Load(o.module);
    if (!module)
        throw ETrvxError(o.module + " is not a host module");
    if (o.raw) {
        std::optional<TByteBuffer> bytes =
            ReadNamedResource(*module, kLanguageResource, kLanguageResource);
        if (!bytes)
            throw EResNotFound(kLanguageResource);
        WriteOutput(o.output, {bytes->Data(), bytes->Size()});
        return 0;
    }
    TTarvin& tree = ProcessTree();
    tree.LoadFromResource(*module);
    SaveTree(tree, o.output);
    return 0;
}

CommandRun SetupExtract(CLI::App& app) {
    auto o = std::make_shared<TExtractOptions>();
    AddInputArgument(app, o->module, "MODULE", "the executable or library to read");
    AddOutputOption(app, o->output);
    app.add_flag("--raw", o->raw, "write the resource's bytes exactly as stored");
    return [o] { return RunExtract(*o); };
}

const RegisterCommand reg({"extract", "write the language text a host module carries",
                           "Reads the resource Tarvin of the executable or library MODULE and\n"
                           "writes its language text in the canonical layout to OUT, or to\n"
                           "standard output. --raw writes the resource's bytes exactly as stored.\n"
                           "OUT is replaced atomically.\n",
                           SetupExtract});

} // namespace
} // namespace trvx::cli
