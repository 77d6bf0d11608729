// Reading a whole file: large files are read in two halves at once, and the
// bytes must come out the same whatever the size, also on a pipe.
#include "PeFixtures.h"
#include "language/ByteBuffer.h"
#include "language/Errors.h"
#include "language/FileIO.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace trvx {
namespace {

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

TEST(ReadWholeFile, ReadsAPipeToItsEnd) {
    const std::string bytes = Pattern(200000);
    test::TScratchDir dir;
    const std::string path = (dir / "data.bin").string();
    test::WriteBytes(path, bytes);
    // A pipe has no size to read up front: it is read as it comes.
    std::FILE* pipe = ::popen(("cat '" + path + "'").c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    const std::string fdPath = "/dev/fd/" + std::to_string(::fileno(pipe));
    EXPECT_TRUE(AsString(ReadWholeFile(fdPath)) == bytes);
    ::pclose(pipe);
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
