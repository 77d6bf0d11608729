#include "cli/LoadWithBase.h"

#include "cli/CliIo.h"

#include <future>

namespace trvx::cli {

void LoadBeside(TTarvin& translation, const std::string& fileName, const std::string& baseName,
                const std::function<void()>& readBase) {
    if (fileName == "-" && baseName == "-")
        throw UsageError{"only one input can be standard input"};
    std::future<void> baseRead = std::async(std::launch::async, readBase);
    try {
        LoadInput(translation, fileName);
    } catch (...) {
        baseRead.wait(); // the other thread may still use what it was given: let it end first
        throw;
    }
    baseRead.get();
}

const TTarvin* LoadWithBase(TTarvin& translation, const std::string& fileName,
                            const std::optional<std::string>& baseName) {
    if (!baseName) {
        LoadInput(translation, fileName);
        return nullptr;
    }
    TTarvin& base = ProcessTree();
    LoadBeside(translation, fileName, *baseName, [&] { LoadInput(base, *baseName); });
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
