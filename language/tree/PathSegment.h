#pragma once

#include "encoding/CodePage.h"

#include <string>
#include <string_view>

namespace trvx {

// Paths name the nodes and values of a language tree for people, in UTF-8:
// - a node: the names from its top-level node down to it, joined by "/"
//   (OBJECTS/Form:frmMain/Button:btnOK);
// - a value: its node's path, "/", its ident and " (value)"
//   (STRINGS/SReady (value)); a value of the root is its ident and " (value)".
// Within a name or ident "\" is written "\\", "/" is written "\/" and a
// control character as \xHH; other bytes are decoded by the code page.
std::string PathSegment(std::string_view name, const CodePage& cp);
// The same, appended to out.
void AppendPathSegment(std::string& out, std::string_view name, const CodePage& cp);

} // namespace trvx
