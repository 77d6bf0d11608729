#pragma once

#include "cli/Command.h"
#include "document/Tarvin.h"
#include "format/FileWindows.h"
#include "pe/PeFile.h"

#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace trvx::cli {

// How messages name a file: "-" is standard input.
std::string ShownName(const std::string& fileName);

// Reads a language file, a host module or standard input ("-"). A module is
// known by its signature, whatever its name; a ".exe" that is none, and a
// module without the language resource, are errors. Errors name the file:
// "de.trvx:12:1: surplus '}' ...".
void LoadInput(TTarvin& tree, const std::string& fileName);
// What LoadInput does in parts, for a caller that reads the text itself:
// the bytes of a language text, or none after loading a host module into
// tree; the read, naming the file in its errors; the warning about an
// unknown LangID, which leaves the code page a guess.
std::optional<TByteBuffer> ReadTextInput(TTarvin& tree, const std::string& fileName);
// The same with a text file left open, to be read in windows; standard
// input is read whole. Neither after a host module.
struct TTextInput {
    std::optional<TByteBuffer> Bytes;
    std::optional<TFileWindows> File;
};
TTextInput OpenTextInput(TTarvin& tree, const std::string& fileName);
void NamingReadErrors(const std::string& fileName, const std::function<void()>& read);
void WarnAboutCodePage(const TTarvin& tree, const std::string& fileName);

// Opens a host module; the open error, or "FILE is not a host module".
TPeModule OpenModule(const std::string& fileName);
// The language text of module into tree, errors naming the file.
void LoadFromModule(TTarvin& tree, const TPeModule& module, const std::string& fileName);

// A tree that lives until the process ends. The system takes its memory
// back at exit in one go, far cheaper than freeing millions of nodes one by
// one; it stays reachable, so leak checkers do not count it.
TTarvin& ProcessTree();

// One file as read, for the checks before a result is written.
struct TInput {
    const std::string& fileName;
    const TTarvin& tree;
};

// Tells on standard error what the reads of inputs skipped, one line each:
// "de.trvx:3:1: warning: ...".
void WarnAboutLosses(std::initializer_list<TInput> inputs);

// The same before writing to output. Over an existing file a read that lost
// text is an error and nothing is written, unless force: the user's file
// would lose what the read skipped.
void CheckLosses(std::initializer_list<TInput> inputs, const std::string& output, bool force);

// Writes text to the file (atomically) or to standard output when empty or
// "-". A host module is never written over.
void WriteOutput(const std::string& fileName, std::string_view text);
void SaveTree(const TTarvin& tree, const std::string& fileName, const TWriteFilter* skip = nullptr);
// The tree of one input written to output, once CheckLosses lets it be.
void SaveCheckedTree(const TInput& input, const std::string& output, bool force);

// Flushes standard output; "Stream write error: standard output: ..." when
// anything written to it failed.
void FlushStandardOutput();

} // namespace trvx::cli
