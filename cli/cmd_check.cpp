#include "check/Check.h"
#include "cli/CliIo.h"
#include "cli/LoadWithBase.h"
#include "cli/Options.h"
#include "cli/report/CheckReport.h"

#include <CLI/CLI.hpp>

#include <iostream>
#include <optional>

namespace trvx::cli {
namespace {

void DeclareCheck(CLI::App& app, TReportOptions& o) {
    DeclareReportOptions(app, o, "the translation to check", {"text", "json", "junit"});
}

int RunCheck(const TReportOptions& o) {
    const TTranslation translation = LoadTranslation(o.file, o.base, o.codePage);
    const TFindings findings = CheckLanguage(translation.Tree, translation.Base);
    const TCheckSource source{o.file, o.base, translation.Tree.GetCodePage().Name()};
    const auto write = o.format == "json"    ? WriteCheckReportJson
                       : o.format == "junit" ? WriteCheckReportJunit
                                             : WriteCheckReportText;
    write(std::cout, findings, source, ReportBlockForThisMachine());
    FlushStandardOutput();
    return findings.Count(TSeverity::Error) > 0 ? 1 : 0;
}

const RegisterCommand
    reg({"check", "find what would break a translation at run time",
         R"help(Checks TRANSLATION (.trvx, .exe or - for standard input) and prints what
it finds. Exit status 1 when there is an error, 0 otherwise, 2 for a
usage error, so a CI job can gate on it.

Always:
  accelerators  two captions of one menu or form marking the same letter
                (warning); a lone & at the end or before a blank (warning)
  shortcuts     a Shortcut the host cannot read (error); two equal
                shortcuts in one form (warning)
  structure     values of the root, names or idents that a save would
                change or that hold stray text from the line above (error)
With --base BASE (the host's language data of the same version), for the
values whose node path and ident BASE has too:
  accelerators  a caption without & whose base has one (warning)
  placeholders  %s, %d, %5.2f, %0:s ... not the same as the base's (error)
  lists         Items or Strings with another number of lines (warning)
  untranslated  the same text as the base, if it holds a letter (info)
  whitespace    leading or trailing blanks unlike the base's (warning)

--format json   one object with a summary and the findings
--format junit  JUnit XML, one test suite per check; errors fail
)help",
         SetupOf(DeclareCheck, RunCheck)});

} // namespace
} // namespace trvx::cli
