#pragma once

#include "document/Tarvin.h"
#include "update/UpdateLists.h"

#include <iosfwd>
#include <string>

namespace trvx::cli {

// Loads the translation and the newer base (each .trvx, .exe or "-") and
// carries the translation over in memory as Update To does. Returns the
// base; the lists refer to nodes of translation.
const TTarvin& LoadAndUpdate(TTarvin& translation, const std::string& translationFile,
                             const std::string& baseFile, TUpdateLists& lists);

// The update lists as path lines ("+ OBJECTS/Form:frmMain", "- STRINGS/S1 (value)").
void PrintUpdateLines(std::ostream& out, const TTarvin& translation, const TUpdateLists& lists);

} // namespace trvx::cli
