#include "document/OpenFile.h"

namespace trvx {

std::string_view FileExtension(std::string_view fileName) {
    std::size_t dot = fileName.rfind('.');
    if (dot == std::string_view::npos ||
        fileName.find_first_of("/\\", dot) != std::string_view::npos)
        return {};
    return fileName.substr(dot);
}

TOpenResult LoadByExtension(TTarvin& target, const std::string& fileName) {
    std::string_view ext = FileExtension(fileName);
    if (SameTextAscii(ext, ".trvx")) {
        target.LoadFromFile(fileName);
        return TOpenResult::Loaded;
    }
    if (SameTextAscii(ext, ".exe"))
        return target.LoadFromModule(fileName) ? TOpenResult::Loaded : TOpenResult::NotAModule;
    return TOpenResult::Ignored;
}

} // namespace trvx
