#include "tree/Errors.h"

#include <cstring>

namespace trvx {

namespace {
std::string Quoted(std::string_view what, std::string_view path, std::string_view message) {
    std::string s(what);
    s += " \"";
    s += path;
    s += "\". ";
    s += message;
    return s;
}
} // namespace

EListError::EListError(long long index)
    : ETrvxError("List index out of bounds (" + std::to_string(index) + ")"), m_index(index) {}

EFOpenError::EFOpenError(std::string_view fullPath, std::string_view systemMessage)
    : ETrvxError(Quoted("Cannot open file", fullPath, systemMessage)) {}

EFCreateError::EFCreateError(std::string_view fullPath, std::string_view systemMessage)
    : ETrvxError(Quoted("Cannot create file", fullPath, systemMessage)) {}

EWriteError::EWriteError(int systemError)
    : ETrvxError("Stream write error"), m_systemError(systemError) {}

EResNotFound::EResNotFound(std::string_view name)
    : ETrvxError("Resource " + std::string(name) + " not found") {}

std::string SystemMessage(int errorNumber) {
    return std::strerror(errorNumber);
}

} // namespace trvx
