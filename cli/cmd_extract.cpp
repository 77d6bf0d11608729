#include "cli/CliIo.h"
#include "language/Errors.h"
#include "language/PeResource.h"

namespace trvx::cli {
namespace {

int RunExtract(const Args& args) {
    ArgParser p(args, {"--raw"}, {"-o"});
    p.ExpectPositional(1, 1);
    const std::string& fileName = p.Positional()[0];
    const std::string out = p.Value("-o").value_or("");
    // Any file name is taken as a module here, whatever its extension.
    std::optional<TPeModule> module = TPeModule::Load(fileName);
    if (!module)
        throw ETrvxError(fileName + " is not a host module");
    if (p.Has("--raw")) {
        std::optional<TByteBuffer> bytes =
            ReadNamedResource(*module, kLanguageResource, kLanguageResource);
        if (!bytes)
            throw EResNotFound(kLanguageResource);
        WriteOutput(out, {bytes->Data(), bytes->Size()});
        return 0;
    }
    TTarvin& tree = ProcessTree();
    tree.LoadFromResource(*module);
    SaveTree(tree, out);
    return 0;
}

const RegisterCommand reg({"extract", "write the language text a host module carries",
                           "usage: trvx extract MODULE [-o OUT] [--raw]\n\n"
                           "Reads the resource Tarvin of the executable or library MODULE and\n"
                           "writes its language text in the canonical layout to OUT, or to\n"
                           "standard output. --raw writes the resource's bytes exactly as stored.\n"
                           "OUT is replaced atomically.\n",
                           RunExtract});

} // namespace
} // namespace trvx::cli
