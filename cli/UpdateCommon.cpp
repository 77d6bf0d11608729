#include "cli/UpdateCommon.h"

#include "cli/CliIo.h"
#include "cli/LoadWithBase.h"
#include "update/UpdateMerge.h"
#include "update/UpdateReport.h"

#include <ostream>

namespace trvx::cli {

const TTarvin& LoadAndUpdate(TTarvin& translation, const std::string& translationFile,
                             const std::string& baseFile, TUpdateLists& lists) {
    const TTarvin& base = *LoadWithBase(translation, translationFile, baseFile);
    // Names fold by the translation's language, whatever the base says it is.
    // The base is a tree of the process, so it outlives the translation.
    UpdateTo(base.Root(), translation.Root(), lists, translation.GetCodePage(),
             TBaseLife::OutlivesOpen);
    return base;
}

void PrintUpdateLines(std::ostream& out, const TTarvin& translation, const TUpdateLists& lists) {
    ForEachUpdateLine(translation.Root(), lists, translation.GetCodePage(),
                      [&](std::string_view line) { out << line << '\n'; });
}

} // namespace trvx::cli
