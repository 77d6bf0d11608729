#include "cli/CliIo.h"

#include "document/OpenFile.h"
#include "format/FileIO.h"
#include "format/Reader.h"
#include "pe/PeResource.h"
#include "tree/Errors.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <iostream>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace trvx::cli {

namespace {

// The first bytes of a file, enough to know a host module by. Only a
// regular file is opened: a pipe would block, a device never end.
std::string ReadHead(const std::string& fileName) {
    std::string whyNot;
    const TFd fd = OpenRegularFile(fileName, whyNot);
    if (!fd.IsOpen())
        throw EFOpenError(FullPath(fileName), whyNot);
    std::string head(kPeSignatureHead, '\0');
    const ssize_t n = ::pread(fd.Get(), head.data(), head.size(), 0);
    if (n < 0)
        throw EFOpenError(FullPath(fileName), SystemMessage(errno));
    head.resize(static_cast<std::size_t>(n));
    return head;
}

} // namespace

void NamingReadErrors(const std::string& fileName, const std::function<void()>& read) {
    try {
        read();
    } catch (const ESurplusBrace& e) {
        throw ETrvxError(ShownName(fileName) + ":" + std::to_string(e.Brace.Line) + ":" +
                         std::to_string(e.Brace.Column) +
                         ": surplus '}' closes the root; reading stopped at line " +
                         std::to_string(e.Stop.Line) + ": " + e.what());
    } catch (const EResNotFound& e) {
        throw ETrvxError(ShownName(fileName) + ": " + e.what());
    }
}

namespace {

void PrintLosses(std::initializer_list<TInput> inputs, bool lossesAreErrors) {
    for (const TInput& input : inputs)
        for (const TReadLoss& loss : input.tree.ReadLosses())
            std::cerr << ShownName(input.fileName) << ":" << loss.Line << ":" << loss.Column
                      << ((lossesAreErrors && LosesText(loss.Kind)) ? ": error: " : ": warning: ")
                      << DescribeReadLoss(loss) << "\n";
}

std::string WriteFailure(const std::string& shownName, const EWriteError& e) {
    std::string message = std::string(e.what()) + ": " + shownName;
    if (e.SystemError() != 0)
        message += ": " + SystemMessage(e.SystemError());
    return message;
}

bool IsStandardOutput(const std::string& fileName) {
    return fileName.empty() || fileName == "-";
}

// An executable written over with text is lost: no output goes there.
void RefuseHostModule(const std::string& fileName) {
    struct stat st {};
    if (::stat(fileName.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return;
    if (HasPeSignature(ReadHead(fileName)))
        throw ETrvxError(fileName + " is a host module: trvx does not write over one");
}

template <class Write> void WritingTo(const std::string& fileName, Write write) {
    if (!IsStandardOutput(fileName))
        RefuseHostModule(fileName);
    try {
        write();
        if (IsStandardOutput(fileName))
            FlushStandardOutput();
    } catch (const EWriteError& e) {
        throw ETrvxError(
            WriteFailure(IsStandardOutput(fileName) ? "standard output" : fileName, e));
    }
}

} // namespace

std::string ShownName(const std::string& fileName) {
    return fileName == "-" ? "standard input" : fileName;
}

TTarvin& ProcessTree() {
    // Deliberately never destroyed.
    static auto* trees = new std::vector<std::unique_ptr<TTarvin>>();
    return *trees->emplace_back(std::make_unique<TTarvin>());
}

TPeModule OpenModule(const std::string& fileName) {
    ReadHead(fileName); // a file that cannot be opened says why
    std::optional<TPeModule> module = TPeModule::Load(fileName);
    if (!module)
        throw ETrvxError(fileName + " is not a host module");
    return std::move(*module);
}

void LoadFromModule(TTarvin& tree, const TPeModule& module, const std::string& fileName) {
    NamingReadErrors(fileName, [&] { tree.LoadFromResource(module); });
}

namespace {

void LoadAnyInput(TTarvin& tree, const std::string& fileName) {
    if (std::optional<TByteBuffer> text = ReadTextInput(tree, fileName))
        NamingReadErrors(fileName, [&] { tree.LoadFromBuffer(std::move(*text)); });
}

// A file known as a host module by its head or its name is loaded into tree.
bool LoadModuleFile(TTarvin& tree, const std::string& fileName) {
    const std::string head = ReadHead(fileName);
    if (!HasPeSignature(head) && !SameTextAscii(FileExtension(fileName), ".exe"))
        return false;
    LoadFromModule(tree, OpenModule(fileName), fileName);
    return true;
}

} // namespace

std::optional<TByteBuffer> ReadTextInput(TTarvin& tree, const std::string& fileName) {
    if (fileName == "-") {
        TByteBuffer bytes = ReadStandardInput();
        if (!HasPeSignature({bytes.Data(), bytes.Size()}))
            return bytes;
        std::optional<TPeModule> module = TPeModule::FromBytes(std::move(bytes));
        if (!module)
            throw ETrvxError("standard input is not a host module");
        LoadFromModule(tree, *module, fileName);
        return std::nullopt;
    }
    if (LoadModuleFile(tree, fileName))
        return std::nullopt;
    return ReadWholeFile(fileName);
}

TTextInput OpenTextInput(TTarvin& tree, const std::string& fileName) {
    TTextInput input;
    if (fileName == "-")
        input.Bytes = ReadTextInput(tree, fileName);
    else if (!LoadModuleFile(tree, fileName))
        input.File.emplace(fileName);
    return input;
}

void WarnAboutCodePage(const TTarvin& tree, const std::string& fileName) {
    if (const std::string warning = tree.CodePageWarning(); !warning.empty())
        std::cerr << ("trvx: warning: " + ShownName(fileName) + ": " + warning +
                      " (name another with --codepage N)\n");
}

void LoadInput(TTarvin& tree, const std::string& fileName) {
    LoadAnyInput(tree, fileName);
    WarnAboutCodePage(tree, fileName);
}

void WarnAboutLosses(std::initializer_list<TInput> inputs) {
    PrintLosses(inputs, false);
}

void CheckLosses(std::initializer_list<TInput> inputs, const std::string& output, bool force) {
    struct stat st {};
    const bool overwrites = !IsStandardOutput(output) && ::stat(output.c_str(), &st) == 0;
    const bool refuse = overwrites && !force;
    PrintLosses(inputs, refuse);
    if (!refuse)
        return;
    for (const TInput& input : inputs)
        for (const TReadLoss& loss : input.tree.ReadLosses())
            if (LosesText(loss.Kind))
                throw ETrvxError("not writing " + output + ": the read of " +
                                 ShownName(input.fileName) +
                                 " lost text (--force writes it anyway)");
}

void WriteOutput(const std::string& fileName, std::string_view text) {
    WritingTo(fileName, [&] {
        if (IsStandardOutput(fileName))
            std::cout.write(text.data(), static_cast<std::streamsize>(text.size()));
        else
            SaveFileAtomically(
                fileName, [&](const WriteBytes& write) { write(text); }, text.size());
    });
}

void SaveTree(const TTarvin& tree, const std::string& fileName, const TWriteFilter* skip) {
    WritingTo(fileName, [&] {
        if (IsStandardOutput(fileName))
            tree.SaveToStream(std::cout, skip);
        else
            tree.SaveToFile(fileName, skip);
    });
}

void SaveCheckedTree(const TInput& input, const std::string& output, bool force) {
    CheckLosses({input}, output, force);
    SaveTree(input.tree, output);
}

void FlushStandardOutput() {
    std::cout.flush();
    if (!std::cout)
        throw ETrvxError(WriteFailure("standard output", EWriteError(errno)));
}

} // namespace trvx::cli
