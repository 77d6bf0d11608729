#include "cli/CliIo.h"

#include "language/Errors.h"
#include "language/FileIO.h"
#include "language/OpenFile.h"

#include <algorithm>
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
        tree.LoadFromBuffer(ReadStandardInput());
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
    SaveFileAtomically(
        fileName, [&](const WriteBytes& write) { write(text); }, text.size());
}

void SaveTree(const TTarvin& tree, const std::string& fileName) {
    if (fileName.empty() || fileName == "-")
        tree.SaveToStream(std::cout);
    else
        tree.SaveToFile(fileName);
}

ArgParser::ArgParser(const Args& args, std::initializer_list<std::string_view> flags,
                     std::initializer_list<std::string_view> valued) {
    auto in = [](auto list, std::string_view s) {
        return std::find(list.begin(), list.end(), s) != list.end();
    };
    bool onlyPositional = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (onlyPositional || a == "-" || !a.starts_with("-")) {
            m_positional.push_back(a);
        } else if (a == "--") {
            onlyPositional = true;
        } else if (in(flags, a)) {
            m_options.emplace_back(a, "");
        } else if (in(valued, a)) {
            if (i + 1 >= args.size())
                throw UsageError{"option " + a + " needs a value"};
            m_options.emplace_back(a, args[++i]);
        } else {
            throw UsageError{"unknown option " + a};
        }
    }
}

bool ArgParser::Has(std::string_view flag) const {
    return std::any_of(m_options.begin(), m_options.end(),
                       [&](const auto& o) { return o.first == flag; });
}

std::optional<std::string> ArgParser::Value(std::string_view option) const {
    for (auto it = m_options.rbegin(); it != m_options.rend(); ++it)
        if (it->first == option)
            return it->second;
    return std::nullopt;
}

void ArgParser::ExpectPositional(std::size_t min, std::size_t max) const {
    if (m_positional.size() < min)
        throw UsageError{"missing argument"};
    if (m_positional.size() > max)
        throw UsageError{"too many arguments"};
}

} // namespace trvx::cli
