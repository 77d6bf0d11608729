#include "tests/support/PeFixtures.h"

#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <sys/file.h>
#include <unistd.h>

namespace trvx::test {

namespace fs = std::filesystem;

namespace {

// Linked modules are stale when a script that makes them, or the example, is newer.
bool FixturesCurrent(const fs::path& stamp) {
    std::error_code ec;
    const auto made = fs::last_write_time(stamp, ec);
    if (ec)
        return false;
    const fs::path root = TARVIN_SOURCE_DIR;
    for (const char* input : {"scripts/make-host-module.py", "tests/fixtures/make_pe_fixtures.py",
                              "examples/Deutsch.trvx"})
        if (fs::last_write_time(root / input, ec) > made || ec)
            return false;
    return true;
}

} // namespace

const fs::path& PeFixtureDir() {
    static const fs::path made = [] {
        const fs::path dir = TARVIN_PE_FIXTURE_DIR;
        fs::create_directories(dir);
        const fs::path lock = dir.string() + ".lock";
        int fd = ::open(lock.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (fd < 0 || ::flock(fd, LOCK_EX) != 0)
            throw std::runtime_error("cannot lock " + lock.string());
        if (!FixturesCurrent(dir / "stamp")) {
            const std::string command =
                std::string("\"") + TARVIN_PYTHON + "\" \"" + TARVIN_SOURCE_DIR +
                "/tests/fixtures/make_pe_fixtures.py\" \"" + dir.string() + "\"";
            if (std::system(command.c_str()) != 0) {
                ::close(fd);
                throw std::runtime_error("linking the test modules failed: " + command);
            }
        }
        ::close(fd);
        return dir;
    }();
    return made;
}

fs::path PeFixture(const std::string& linker, const std::string& name) {
    fs::path path = PeFixtureDir() / (linker + "-" + name);
    // GNU ld is required; lld-link is used when it is installed.
    if (linker == "gnu" || fs::exists(path))
        return path;
    return {};
}

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush())
        throw std::runtime_error("cannot write " + path.string());
}

TScratchDir::TScratchDir() {
    std::random_device rd;
    m_path = fs::temp_directory_path() /
             ("trvx-test-" + std::to_string(::getpid()) + "-" + std::to_string(rd()));
    fs::create_directories(m_path);
}

TScratchDir::~TScratchDir() {
    std::error_code ec;
    fs::remove_all(m_path, ec);
}

} // namespace trvx::test
