#include "cli/CliIo.h"

#include "language/Errors.h"
#include "language/FileIO.h"
#include "language/OpenFile.h"

#include <iostream>
#include <memory>
#include <vector>

namespace trvx::cli {

TTarvin& ProcessTree() {
    // Deliberately never destroyed.
    static auto* trees = new std::vector<std::unique_ptr<TTarvin>>();
    return *trees->emplace_back(std::make_unique<TTarvin>());
}

void LoadInput(TTarvin& tree, const std::string& fileName) {
    if (fileName == "-") {
        tree.LoadFromStream(std::cin);
        return;
    }
    switch (LoadByExtension(tree, fileName)) {
    case TOpenResult::Loaded:
        return;
    case TOpenResult::NotAModule:
        throw ETrvxError(fileName + " is not a host module");
    case TOpenResult::Ignored:
        // The command line reads any other name as a language file.
        tree.LoadFromFile(fileName);
        return;
    }
}

void WriteOutput(const std::string& fileName, std::string_view text) {
    if (fileName.empty() || fileName == "-") {
        std::cout.write(text.data(), static_cast<std::streamsize>(text.size()));
        std::cout.flush();
        if (!std::cout)
            throw EWriteError();
        return;
    }
    SaveFileAtomically(fileName, [&](const WriteBytes& write) { write(text); });
}

void SaveTree(const TTarvin& tree, const std::string& fileName) {
    if (fileName.empty() || fileName == "-")
        tree.SaveToStream(std::cout);
    else
        tree.SaveToFile(fileName);
}

} // namespace trvx::cli
