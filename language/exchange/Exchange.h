#pragma once

#include "document/Tarvin.h"
#include "exchange/ExchangeUnits.h"
#include "format/FileIO.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace trvx::exchange {

enum class TExchangeFormat { Xliff, Po };

// By extension: ".xlf" or ".xliff" is XLIFF 1.2, ".po" or ".pot" is PO; letter case ignored.
std::optional<TExchangeFormat> FormatOfFileName(std::string_view fileName);
// "xliff" or "po"; nullopt for anything else.
std::optional<TExchangeFormat> FormatOfName(std::string_view name);

struct TExportOptions {
    TExchangeFormat Format = TExchangeFormat::Xliff;
    std::string Original;       // the translation's file name, as the file records it
    std::string SourceLanguage; // "en" when empty
    std::string TargetLanguage; // left out when empty
};

// One unit per value below the root, in file order, UTF-8. Values whose
// source is empty are left out: there is nothing to translate, and PO
// tools take an empty msgid for the header. A text holding a control
// character other than tab or a line break is refused, naming its unit:
// neither XML nor PO tools carry one. Shortcuts are marked (XLIFF:
// translate="no" and the note; PO: the extracted comment).
void ExportExchange(const TTarvin& translation, const TTarvin* reference,
                    const TExportOptions& options, const WriteBytes& write);

// A unit as an exchange file brings it back. Views into the parsed file.
struct TIncomingUnit {
    std::string_view Id;
    std::string_view Target; // UTF-8
};

// A parsed XLIFF or PO file; owns what its units point into.
class TExchangeDocument {
public:
    virtual ~TExchangeDocument() = default;
    const std::vector<TIncomingUnit>& Units() const { return m_units; }

protected:
    std::vector<TIncomingUnit> m_units;
};

// Reads an exchange file by its extension. A malformed file raises
// EExchangeError with the file name, line and column the parser gives.
// XLIFF: every trans-unit with a target (a unit without one is left out).
// PO: every message with a translation; its id is the context (msgctxt),
// else its only reference (#:), as xliff2po writes it; an empty msgstr is
// untranslated and left out, as gettext's tools treat it.
std::unique_ptr<TExchangeDocument> ReadExchangeFile(const std::string& fileName);

struct TImportChange {
    std::string Id;
    TTarvinItem* Node;
    int Index;
    std::string Text; // in the translation's code page
};

struct TImportPlan {
    std::vector<TImportChange> Changes; // in file order
    std::vector<std::string> Warnings;  // list values whose line count changed
    std::size_t Units = 0;              // units the file brought
};

// What importing units into translation changes: each value whose target
// differs from its text beyond the form of its line breaks. Refuses with
// EExchangeError, naming the unit, an id that occurs twice or that the
// translation lacks, and a character the translation's code page cannot
// hold. A list value (Items, Strings) whose line count changes is a
// warning, and with strict a refusal: the host pairs lines by position.
TImportPlan PlanImport(const TTarvin& translation, const std::vector<TIncomingUnit>& units,
                       bool strict);

// Sets the planned values in translation and returns its language text with
// only those values rewritten: every other byte as loaded. translation must
// have been loaded with spans. The result is read back and compared with
// the tree before it is returned, so a text that would not read as planned
// is never handed out.
std::string ApplyImport(TTarvin& translation, const std::vector<TValueSpan>& spans,
                        const TImportPlan& plan);

} // namespace trvx::exchange
