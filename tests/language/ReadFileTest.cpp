// Reading a whole file: large files are read in two halves at once, and the
// bytes must come out the same whatever the size; standard input is read as
// it comes; what is no file is refused.
#include "PeFixtures.h"
#include "format/ByteBuffer.h"
#include "format/FileIO.h"
#include "tree/Errors.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace trvx {
namespace {

namespace fs = std::filesystem;

std::string Pattern(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 2654435761u) >> 13);
    return bytes;
}

std::string AsString(const TByteBuffer& buffer) {
    return std::string(buffer.Data(), buffer.Size());
}

TEST(ReadWholeFile, GivesEveryByteAtEverySize) {
    constexpr std::size_t kSplit = std::size_t{16} << 20;
    test::TScratchDir dir;
    for (std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{65537}, kSplit - 1, kSplit,
                             kSplit + 1, kSplit + 4097}) {
        SCOPED_TRACE(size);
        const std::string bytes = Pattern(size);
        const std::string path = (dir / "file.bin").string();
        test::WriteBytes(path, bytes);
        EXPECT_TRUE(AsString(ReadWholeFile(path)) == bytes);
    }
}

// Standard input has no size to read up front: it is read as it comes, to
// its end or the limit; a text only 16 MiB past its first NUL, where it ends.
TEST(ReadStandardInput, ReadsAPipeToItsEndOrItsLimit) {
    std::string noNul = Pattern(200000);
    std::replace(noNul.begin(), noNul.end(), '\0', 'x');
    struct Case {
        std::string input;
        std::uint64_t limit;
        std::string read; // or the error
    } const cases[] = {
        {noNul, kReadLimit, noNul},
        {std::string("abc\0def", 7), kReadLimit, std::string("abc\0def", 7)},
        {std::string("abc\0", 4) + std::string(17 << 20, '\0'), kReadLimit,
         std::string("abc\0", 4) + std::string((16 << 20) - 1, '\0')},
        {std::string(4096, 'a'), 4096, std::string(4096, 'a')},
        {std::string(4097, 'a'), 4096,
         "standard input: It is larger than 4096 bytes, more than any language file"},
    };
    test::TScratchDir dir;
    const int savedStdin = ::dup(STDIN_FILENO);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input.size());
        test::WriteBytes(dir / "data.bin", c.input);
        std::FILE* pipe = ::popen(("cat '" + (dir / "data.bin").string() + "'").c_str(), "r");
        ASSERT_NE(pipe, nullptr);
        ::dup2(::fileno(pipe), STDIN_FILENO);
        try {
            EXPECT_TRUE(AsString(ReadStandardInput(c.limit)) == c.read);
        } catch (const ETrvxError& e) {
            EXPECT_EQ(e.what(), c.read);
        }
        ::dup2(savedStdin, STDIN_FILENO);
        ::pclose(pipe);
    }
    ::close(savedStdin);
}

// Opening a pipe waits for a writer and a device may never end: both are
// refused by name, before anything is opened.
TEST(ReadWholeFile, RefusesPipesAndDevicesWithoutBlocking) {
    test::TScratchDir dir;
    const std::string fifo = (dir / "f.trvx").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    fs::create_symlink("/dev/zero", dir / "zero.trvx");
    for (const auto& [name, reason] :
         {std::pair{fifo, "It is a named pipe, not a file"},
          std::pair{(dir / "zero.trvx").string(), "It is a device, not a file"}}) {
        try {
            ReadWholeFile(name);
            ADD_FAILURE() << name;
        } catch (const EFOpenError& e) {
            EXPECT_EQ(e.what(), "Cannot open file \"" + name + "\". " + reason);
        }
    }
}

TEST(ReadWholeFile, NamesTheFileThatCannotBeRead) {
    test::TScratchDir dir;
    const std::string missing = (dir / "missing.trvx").string();
    try {
        ReadWholeFile(missing);
        FAIL() << "no error";
    } catch (const EFOpenError& e) {
        EXPECT_NE(std::string(e.what()).find("missing.trvx"), std::string::npos);
    }
    EXPECT_THROW(ReadWholeFile(dir.Path().string()), EFOpenError);
}

} // namespace
} // namespace trvx
