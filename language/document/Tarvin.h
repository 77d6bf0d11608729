#pragma once

#include "encoding/CodePage.h"
#include "format/ByteBuffer.h"
#include "format/ReadLoss.h"
#include "format/Reader.h"
#include "tree/Arena.h"
#include "tree/TarvinItem.h"

#include <iosfwd>
#include <string>
#include <string_view>

namespace trvx {

class TFileWindows;
class TPeModule;
class TWriteFilter;

// One language file in memory. Owns the root for its whole life: a load
// clears the root and fills it again, so a reference to Root() stays valid.
class TTarvin {
public:
    TTarvin() = default;
    TTarvin(const TTarvin&) = delete;
    TTarvin& operator=(const TTarvin&) = delete;
    virtual ~TTarvin();

    TTarvinItem& Root() { return m_root; }
    const TTarvinItem& Root() const { return m_root; }

    // Clear the root, then parse a language text into it. The text ends at
    // its first NUL. A surplus closing brace raises EListError(-1) and leaves
    // what was read before it.
    void LoadFromText(std::string_view text);
    // The same, taking the bytes over instead of copying them. With spans,
    // where each value stands in those bytes (see LoadedText).
    void LoadFromBuffer(TByteBuffer buffer, std::vector<TValueSpan>* spans = nullptr);
    // Reads the bytes as LoadFromBuffer does, but hands their entries to
    // sink instead of the tree, whose root is left empty for the sink to
    // fill if it likes. The bytes and the losses are kept as after a load.
    void ReadIntoSink(TByteBuffer buffer, TLanguageSink& sink);
    // The same with a file read in windows: no bytes are kept (LoadedText
    // is empty) and the sink's strings last only until its next call.
    void ReadIntoSink(TFileWindows& file, TLanguageSink& sink);
    // The bytes the tree was last loaded from, cut at their first NUL.
    std::string_view LoadedText() const { return CutAtNul(LoadedBytes()); }
    // All of them, what follows a NUL too.
    std::string_view LoadedBytes() const { return {m_buffer.Data(), m_buffer.Size()}; }
    // What the last load skipped or stopped at, in text order (see
    // TReadLossKind); also after a load that raised an error.
    const TReadLosses& ReadLosses() const { return m_losses; }
    void LoadFromStream(std::istream& stream);
    // EFOpenError when the file cannot be read; the tree is then unchanged.
    void LoadFromFile(const std::string& fileName);

    // The canonical language text, without what skip names (if given).
    // EWriteError when the stream fails.
    void SaveToStream(std::ostream& stream, const TWriteFilter* skip = nullptr) const;
    std::string SaveToText(const TWriteFilter* skip = nullptr) const;
    // Atomic: a temporary file beside the target is written, flushed and
    // renamed over it, so a failure leaves any existing file untouched.
    // EFCreateError when it cannot be created, EWriteError when a write fails.
    void SaveToFile(const std::string& fileName, const TWriteFilter* skip = nullptr) const;

    // Reads the language text a host module embeds. False, with the tree
    // unchanged, when the file cannot be read as a module; EResNotFound when
    // the module has no such resource.
    bool LoadFromModule(const std::string& fileName);
    // The same for a module already opened. The text ends at its first NUL;
    // an empty resource clears the tree.
    void LoadFromResource(const TPeModule& module);

    // The INFO section, looked up past a UTF-8 byte-order mark before it; null if none.
    const TTarvinItem* InfoSection() const;
    // The index of INFO's LangID value; -1 if none.
    int LangIdIndex() const;
    // The Windows language id of the INFO section's LangID value; 0 if none
    // or not a number.
    int LangId() const;

    // Why GetCodePage gives the page it gives.
    enum class TCodePageSource {
        Override,      // chosen by the user for this run
        LangId,        // the language's ANSI code page
        Locale,        // no LangID, or a language with no ANSI code page
        UnknownLangId, // a LangID Windows does not know: the locale's page
    };
    TCodePageSource CodePageSource() const;
    // The code page of the override, else of the file's language, else of
    // the user's locale.
    const CodePage& GetCodePage() const;
    // A supported page for every later use of this tree, loads included; 0 drops it.
    void SetCodePageOverride(int id) { m_codePageOverride = id; }
    int CodePageOverride() const { return m_codePageOverride; }
    // For an unknown LangID, what a user should be told; empty otherwise.
    std::string CodePageWarning() const;

private:
    template <class Parse> void Read(TByteBuffer buffer, const Parse& parse);

    TArena m_arena;       // the nodes and lists of the tree
    TByteBuffer m_buffer; // the bytes the last load borrowed from
    TReadLosses m_losses;
    TTarvinItem m_root{m_arena.Resource()};
    int m_codePageOverride = 0;
};

} // namespace trvx
