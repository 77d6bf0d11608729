#pragma once

#include "format/ByteBuffer.h"
#include "pe/PeFile.h"

#include <optional>
#include <string_view>

namespace trvx {

// The type and the name under which a host module carries its language text.
inline constexpr std::string_view kLanguageResource = "Tarvin";

// Looks a resource up as the platform's loader does for a named type and
// name: the first type entry whose name equals type, then the first name
// entry in it equal to name (both compared with ASCII letters folded), then
// the first language entry in directory order. Exactly three levels are
// walked, so a directory that points back at itself cannot loop. nullopt
// when there is no such resource or its entries or data lie outside the
// module's bytes.
std::optional<TFileRange> FindNamedResource(const TPeModule& module, std::string_view type,
                                            std::string_view name);

// The resource's bytes, copied out of the module; nullopt when they cannot
// be read.
std::optional<TByteBuffer> ReadNamedResource(const TPeModule& module, std::string_view type,
                                             std::string_view name);

} // namespace trvx
