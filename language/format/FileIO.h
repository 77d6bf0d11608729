#pragma once

#include "format/ByteBuffer.h"
#include "format/Fd.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace trvx {

// Far above any real language file, yet a bound for standard input and for
// files that keep growing while they are read.
inline constexpr std::uint64_t kReadLimit = std::uint64_t{4} << 30;

// Why a file larger than limit is not read.
std::string TooLargeMessage(std::uint64_t limit);

// The absolute form of a file name, as error messages show it.
std::string FullPath(const std::string& fileName);

// Opens a regular file for reading. A pipe or a device is refused without
// being opened, as opening or reading it may block or never end. Not open
// when refused or failed, with the reason for people in whyNot.
TFd OpenRegularFile(const std::string& fileName, std::string& whyNot);

// A regular file opened to be read whole, and its size now. EFOpenError
// when it cannot be opened, is no regular file, or is larger than limit.
TFd OpenFileToRead(const std::string& fileName, std::uint64_t limit, std::uint64_t& size);

// The whole file. EFOpenError when it cannot be opened or read, is no
// regular file, or grows past limit while it is read.
TByteBuffer ReadWholeFile(const std::string& fileName, std::uint64_t limit = kReadLimit);

// Standard input to its end; a language text (no host module) only 16 MiB
// past its first NUL, where the text ends, so /dev/zero ends soon. ETrvxError
// when it goes on past limit.
TByteBuffer ReadStandardInput(std::uint64_t limit = kReadLimit);

// Writes a file so that it is either complete or not there: the bytes go to
// a temporary file beside the target, which is flushed to disk and renamed
// over the target only when every byte is written. An existing target keeps
// its permissions; a symbolic link keeps pointing where it did and its
// destination is replaced. produce() receives the function to write with.
//
// The temporary is owner-only from its creation, so no other user can read
// a private file's new text while it is written. Where the folder refuses a
// temporary but the file itself may be written, the text goes to a copy in
// the system's temporary folder first and is then written over the file;
// should that fail, the error names the whole copy that is kept.
//
// leastSize is what the text will take at least: a text that would not fit
// on the disk with room to spare, or that could not be read back (more than
// kReadLimit), is refused before a byte is written; a text that outgrows the
// free room while written is stopped with the write error.
using WriteBytes = std::function<void(std::string_view)>;
void SaveFileAtomically(const std::string& fileName,
                        const std::function<void(const WriteBytes&)>& produce,
                        std::uint64_t leastSize = 0);

} // namespace trvx
