#pragma once

#include "exchange/Exchange.h"

namespace trvx::exchange {

// The units an export writes: ForEachUnit without the empty sources, each
// text checked for characters no exchange format carries.
void ForEachExportedUnit(const TTarvin& translation, const TTarvin* reference,
                         const std::function<void(const TUnit&)>& visit);

void ExportXliff(const TTarvin& translation, const TTarvin* reference,
                 const TExportOptions& options, const WriteBytes& write);
void ExportPo(const TTarvin& translation, const TTarvin* reference, const TExportOptions& options,
              const WriteBytes& write);

std::unique_ptr<TExchangeDocument> ReadXliff(const std::string& fileName);
std::unique_ptr<TExchangeDocument> ReadPo(const std::string& fileName);

} // namespace trvx::exchange
