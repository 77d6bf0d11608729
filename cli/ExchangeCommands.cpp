#include "cli/ExchangeCommands.h"

#include "cli/CliIo.h"
#include "cli/LoadWithBase.h"
#include "document/OpenFile.h"
#include "encoding/TextEscape.h"
#include "exchange/Exchange.h"
#include "format/FileIO.h"
#include "pe/PeFile.h"
#include "tree/Errors.h"

#include <algorithm>
#include <iostream>

namespace trvx::cli {

using namespace trvx::exchange;

int RunExportRequest(const ExportRequest& request) {
    std::optional<TExchangeFormat> format;
    if (request.format) {
        format = FormatOfName(*request.format);
        if (!format)
            throw UsageError{"unknown format " + *request.format + " (xliff or po)"};
    } else {
        format = FormatOfFileName(request.output);
        if (!format)
            throw UsageError{"give --format xliff or po, or an output ending in .xlf or .po"};
    }
    TTarvin& translation = ProcessTree();
    translation.SetCodePageOverride(request.codePage);
    const TTarvin* reference = LoadWithBase(translation, request.translation, request.reference);
    if (reference)
        WarnAboutLosses({{request.translation, translation}, {*request.reference, *reference}});
    else
        WarnAboutLosses({{request.translation, translation}});
    TExportOptions options;
    options.Format = *format;
    options.Original = std::string(request.translation == "-" ? "stdin" : request.translation);
    options.SourceLanguage = request.sourceLanguage;
    options.TargetLanguage = request.targetLanguage;
    if (request.output.empty() || request.output == "-") {
        ExportExchange(translation, reference, options, [](std::string_view bytes) {
            std::cout.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        });
        FlushStandardOutput();
        return 0;
    }
    SaveFileAtomically(request.output, [&](const WriteBytes& write) {
        ExportExchange(translation, reference, options, write);
    });
    return 0;
}

namespace {

// The bytes are kept: the import rewrites only the values that change. Read
// as every other command reads: bounded, pipes and devices refused.
void LoadWithSpans(TTarvin& tree, const std::string& fileName, std::vector<TValueSpan>& spans) {
    TByteBuffer bytes = fileName == "-" ? ReadStandardInput() : ReadWholeFile(fileName);
    const std::string_view head(bytes.Data(), std::min(bytes.Size(), kPeSignatureHead));
    if (HasPeSignature(head))
        throw UsageError{"import needs a language file (.trvx), not a host module"};
    tree.LoadFromBuffer(std::move(bytes), &spans);
}

} // namespace

int RunImportRequest(const ImportRequest& request) {
    if (!FormatOfFileName(request.exchangeFile))
        throw UsageError{"FILE must end in .xlf, .xliff or .po"};
    TTarvin& translation = ProcessTree();
    translation.SetCodePageOverride(request.codePage);
    std::vector<TValueSpan> spans;
    LoadWithSpans(translation, request.translation, spans);
    // Every byte is kept, even what the read skipped; still, tell.
    WarnAboutLosses({{request.translation, translation}});
    const std::unique_ptr<TExchangeDocument> document = ReadExchangeFile(request.exchangeFile);
    const TImportPlan plan = PlanImport(translation, document->Units(), request.strict);
    for (const std::string& warning : plan.Warnings)
        std::cerr << "trvx import: warning: " << warning << "\n";
    if (request.list)
        for (const TImportChange& change : plan.Changes)
            std::cerr << "~ " << change.Id << "\n";
    if (!request.dryRun) {
        if (plan.Changes.empty())
            WriteOutput(request.output, translation.LoadedBytes());
        else
            WriteOutput(request.output, ApplyImport(translation, spans, plan));
    }
    std::cerr << "trvx import: " << plan.Changes.size() << " of "
              << Counted(plan.Units, "unit changes", "units change") << " a value"
              << (request.dryRun ? " (dry run, nothing written)" : "") << "\n";
    return 0;
}

} // namespace trvx::cli
