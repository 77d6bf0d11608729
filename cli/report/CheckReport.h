#pragma once

#include "check/Check.h"
#include "cli/report/ReportBlocks.h"

#include <iosfwd>
#include <string>

namespace trvx {

// What a report says about its input. Names as given on the command line.
struct TCheckSource {
    std::string File;
    std::string Base;     // empty when checked without a base
    std::string CodePage; // "windows-1252"
};

// Each report goes to out in chunks as it is made; its findings are shown
// in blocks of block findings, every second block on another thread (see
// ShowInBlocks). The bytes are the same for every block.

// For people: findings grouped by check, each with its path, value and
// message, then a summary line.
void WriteCheckReportText(std::ostream& out, const TFindings& findings, const TCheckSource& source,
                          std::size_t block = ReportBlockForThisMachine());

// {"file", "base" (or null), "codePage", "summary": {"errors", "warnings",
// "infos", "checks": {name: count}}, "findings": [{"severity", "check",
// "path", "ident", "text", "message"}]}.
void WriteCheckReportJson(std::ostream& out, const TFindings& findings, const TCheckSource& source,
                          std::size_t block = ReportBlockForThisMachine());

// JUnit XML for CI dashboards: one test suite per check, one test case per
// finding. Only errors fail a case, as only errors fail the command; warnings
// and infos pass with their message as output. A check without findings has
// one passing case, so the dashboard shows it ran.
void WriteCheckReportJunit(std::ostream& out, const TFindings& findings, const TCheckSource& source,
                           std::size_t block = ReportBlockForThisMachine());

} // namespace trvx
