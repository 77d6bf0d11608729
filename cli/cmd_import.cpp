#include "cli/CliIo.h"
#include "cli/ExchangeCommands.h"

namespace trvx::cli {
namespace {

int RunImport(const Args& args) {
    ArgParser p(args, {"--dry-run", "--list", "--strict"}, {"-o"});
    p.ExpectPositional(2, 2);
    return RunImportRequest({p.Positional()[0], p.Positional()[1], p.Value("-o").value_or(""),
                             p.Has("--dry-run"), p.Has("--list"), p.Has("--strict")});
}

const RegisterCommand
    reg({"import", "bring translated XLIFF or PO back into a translation",
         "usage: trvx import TRANSLATION FILE.xlf|FILE.po [-o OUT] [--list] [--dry-run]\n"
         "                   [--strict]\n\n"
         "Sets each value whose target in FILE differs from its text, found by the\n"
         "unit's id as `trvx export` wrote it. Every other byte of TRANSLATION stays\n"
         "as it was: a changed value is written in the layout the editor would save,\n"
         "in its place. Units without a target (XLIFF) or with an empty msgstr (PO)\n"
         "are untranslated and change nothing. Line breaks compare as line breaks,\n"
         "whatever form a tool gave them.\n\n"
         "Nothing is written, and the error names the unit, when FILE is malformed\n"
         "(with its line and column), holds an id twice or one TRANSLATION lacks, or a\n"
         "target holds a character TRANSLATION's code page cannot hold. A list value\n"
         "(Items, Strings) whose number of lines changes is warned about: the host\n"
         "pairs its lines by position. With --strict it is refused.\n\n"
         "Options:\n"
         "  -o OUT     write the result to OUT (replaced atomically; may be TRANSLATION),\n"
         "             else to standard output\n"
         "  --list     list each value that changes on standard error: ~ ID\n"
         "  --dry-run  report only; write nothing\n"
         "  --strict   refuse a list value whose number of lines changes\n",
         RunImport});

} // namespace
} // namespace trvx::cli
