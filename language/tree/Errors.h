#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace trvx {

// Every failure of the language data carries its user-facing message.
class ETrvxError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// "List index out of bounds (%d)"
class EListError : public ETrvxError {
public:
    explicit EListError(long long index);
    long long Index() const { return m_index; }

private:
    long long m_index;
};

// "Cannot open file "%s". %s"
class EFOpenError : public ETrvxError {
public:
    EFOpenError(std::string_view fullPath, std::string_view systemMessage);
};

// "Cannot create file "%s". %s"
class EFCreateError : public ETrvxError {
public:
    EFCreateError(std::string_view fullPath, std::string_view systemMessage);
};

// "Stream write error". The system's error number, when known, is kept
// apart, so a caller that knows the file can name both.
class EWriteError : public ETrvxError {
public:
    explicit EWriteError(int systemError = 0);
    int SystemError() const { return m_systemError; }

private:
    int m_systemError;
};

// "Resource %s not found"
class EResNotFound : public ETrvxError {
public:
    explicit EResNotFound(std::string_view name);
};

// The system's message for an errno value.
std::string SystemMessage(int errorNumber);

} // namespace trvx
