#include "cli/CliIo.h"
#include "cli/ExchangeCommands.h"

namespace trvx::cli {
namespace {

int RunExport(const Args& args) {
    ArgParser p(args, {}, {"--ref", "--format", "-o", "--source-lang", "--target-lang"});
    p.ExpectPositional(1, 1);
    return RunExportRequest({p.Positional()[0], p.Value("--ref"), p.Value("--format"),
                             p.Value("-o").value_or(""), p.Value("--source-lang").value_or(""),
                             p.Value("--target-lang").value_or("")});
}

const RegisterCommand
    reg({"export", "write a translation as XLIFF 1.2 or PO for CAT tools",
         "usage: trvx export TRANSLATION [--ref REFERENCE] --format xliff|po [-o OUT]\n"
         "                   [--source-lang TAG] [--target-lang TAG]\n\n"
         "Writes one translation unit per value (the values of nodes, not the tree's\n"
         "structure), in file order, as UTF-8. A unit's id is the value's path as\n"
         "`trvx update --list` prints it, without \" (value)\": OBJECTS/Form:frmMain/Caption;\n"
         "a name that repeats among its siblings gets \\#2, \\#3... from its second\n"
         "occurrence on. The source is REFERENCE's text at the same place (typically\n"
         "the English original), else the translation's own; the target is the\n"
         "translation's text. A note (XLIFF <note>, PO #.) gives the node path and the\n"
         "kind: text, lines, or shortcut. Shortcuts carry translate=\"no\" in XLIFF.\n"
         "Values with an empty source are left out: there is nothing to translate.\n\n"
         "Options:\n"
         "  --ref REFERENCE     take the sources from REFERENCE (.trvx or .exe)\n"
         "  --format xliff|po   the format; without it, by OUT's extension (.xlf, .po)\n"
         "  -o OUT              write to OUT (replaced atomically), else standard output\n"
         "  --source-lang TAG   source-language of the XLIFF file (default en)\n"
         "  --target-lang TAG   target-language (XLIFF) and Language (PO header)\n",
         RunExport});

} // namespace
} // namespace trvx::cli
