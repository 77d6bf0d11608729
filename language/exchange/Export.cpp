#include "document/OpenFile.h"
#include "exchange/ExportUnits.h"

namespace trvx::exchange {

namespace {

void CheckCarriable(const TUnit& unit, std::string_view text) {
    for (char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if ((b < 0x20 && b != '\t' && b != '\n') || b == 0x7F)
            throw EExchangeError("unit \"" + std::string(unit.Id) + "\": " + DescribeChar(b) +
                                 " cannot be written to XLIFF or PO; change the text first");
    }
}

} // namespace

std::optional<TExchangeFormat> FormatOfName(std::string_view name) {
    if (name == "xliff" || name == "xlf")
        return TExchangeFormat::Xliff;
    if (name == "po")
        return TExchangeFormat::Po;
    return std::nullopt;
}

std::optional<TExchangeFormat> FormatOfFileName(std::string_view fileName) {
    const std::string_view ext = FileExtension(fileName);
    if (SameTextAscii(ext, ".xlf") || SameTextAscii(ext, ".xliff"))
        return TExchangeFormat::Xliff;
    if (SameTextAscii(ext, ".po") || SameTextAscii(ext, ".pot"))
        return TExchangeFormat::Po;
    return std::nullopt;
}

void ForEachExportedUnit(const TTarvin& translation, const TTarvin* reference,
                         const std::function<void(const TUnit&)>& visit) {
    ForEachUnit(translation, reference, [&](const TUnit& unit) {
        if (unit.Source.empty())
            return;
        CheckCarriable(unit, unit.Source);
        CheckCarriable(unit, unit.Target);
        visit(unit);
    });
}

void ExportExchange(const TTarvin& translation, const TTarvin* reference,
                    const TExportOptions& options, const WriteBytes& write) {
    if (options.Format == TExchangeFormat::Xliff)
        ExportXliff(translation, reference, options, write);
    else
        ExportPo(translation, reference, options, write);
}

std::unique_ptr<TExchangeDocument> ReadExchangeFile(const std::string& fileName) {
    const auto format = FormatOfFileName(fileName);
    if (!format)
        throw EExchangeError(fileName + ": not an exchange file (expected .xlf, .xliff or .po)");
    return *format == TExchangeFormat::Xliff ? ReadXliff(fileName) : ReadPo(fileName);
}

} // namespace trvx::exchange
