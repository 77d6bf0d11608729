#include "cli/LoadWithBase.h"

#include "cli/CliIo.h"

#include <future>

namespace trvx::cli {

const TTarvin* LoadWithBase(TTarvin& translation, const std::string& fileName,
                            const std::optional<std::string>& baseName) {
    if (!baseName) {
        LoadInput(translation, fileName);
        return nullptr;
    }
    if (fileName == "-" && *baseName == "-")
        throw UsageError{"only one input can be standard input"};
    TTarvin& base = ProcessTree();
    std::future<void> baseLoad =
        std::async(std::launch::async, [&] { LoadInput(base, *baseName); });
    try {
        LoadInput(translation, fileName);
    } catch (...) {
        baseLoad.wait(); // the other thread fills base: let it end before the error travels on
        throw;
    }
    baseLoad.get();
    return &base;
}

TTranslation LoadTranslation(const std::string& fileName, const std::string& baseName,
                             int codePage) {
    TTarvin& translation = ProcessTree();
    translation.SetCodePageOverride(codePage);
    const std::optional<std::string> base =
        baseName.empty() ? std::nullopt : std::optional<std::string>(baseName);
    return {translation, LoadWithBase(translation, fileName, base)};
}

} // namespace trvx::cli
