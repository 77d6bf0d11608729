#pragma once

#include <optional>
#include <string>

namespace trvx::cli {

// What `trvx export` and `trvx import` do, apart from reading their options.

struct ExportRequest {
    std::string translation;
    std::optional<std::string> reference;
    std::optional<std::string> format; // "xliff" or "po"; else by the output's extension
    std::string output;                // empty or "-": standard output
    std::string sourceLanguage;
    std::string targetLanguage;
    int codePage = 0; // the translation's page; 0: from its LangID
};
int RunExportRequest(const ExportRequest& request);

struct ImportRequest {
    std::string translation;
    std::string exchangeFile;
    std::string output; // empty or "-": standard output
    bool dryRun = false;
    bool list = false;
    bool strict = false;
    int codePage = 0;
};
int RunImportRequest(const ImportRequest& request);

} // namespace trvx::cli
