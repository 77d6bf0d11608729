#pragma once

#include "language/ByteBuffer.h"

#include <functional>
#include <string>
#include <string_view>

namespace trvx {

// The absolute form of a file name, as error messages show it.
std::string FullPath(const std::string& fileName);

// The whole file. EFOpenError when it cannot be opened or read.
TByteBuffer ReadWholeFile(const std::string& fileName);

// Writes a file so that it is either complete or not there: the bytes go to
// a temporary file beside the target, which is flushed to disk and renamed
// over the target only when every byte is written. An existing target keeps
// its permissions; a symbolic link keeps pointing where it did and its
// destination is replaced. produce() receives the function to write with.
using WriteBytes = std::function<void(std::string_view)>;
void SaveFileAtomically(const std::string& fileName,
                        const std::function<void(const WriteBytes&)>& produce);

} // namespace trvx
