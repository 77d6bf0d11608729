#pragma once

#include "document/Tarvin.h"
#include "encoding/AsciiCase.h"

#include <string>
#include <string_view>

namespace trvx {

// The text from the last '.' of the file name to its end, provided no path
// delimiter follows that '.'; otherwise empty.
std::string_view FileExtension(std::string_view fileName);

enum class TOpenResult {
    Loaded,     // read as a language file or a host module
    NotAModule, // a ".exe" that is no module: nothing was read
    Ignored,    // any other extension: nothing was read
};

// Reads a file into target by its extension: ".trvx" as a language file,
// ".exe" as a host module, letter case ignored. Errors of the readers travel on.
TOpenResult LoadByExtension(TTarvin& target, const std::string& fileName);

} // namespace trvx
