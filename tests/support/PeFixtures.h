#pragma once

#include <filesystem>
#include <string>

namespace trvx::test {

// The directory of the host modules linked for the tests, named
// "<linker>-<case>.exe". They are linked by tests/fixtures/make_pe_fixtures.py
// on first use and again when a script or the example changes; one process
// links while the others wait.
const std::filesystem::path& PeFixtureDir();

// The fixture's path, or empty when its linker is not installed.
std::filesystem::path PeFixture(const std::string& linker, const std::string& name);

std::string ReadBytes(const std::filesystem::path& path);
void WriteBytes(const std::filesystem::path& path, const std::string& bytes);

// A fresh directory for one test, removed with everything in it.
class TScratchDir {
public:
    TScratchDir();
    ~TScratchDir();
    TScratchDir(const TScratchDir&) = delete;
    TScratchDir& operator=(const TScratchDir&) = delete;
    std::filesystem::path operator/(const std::string& name) const { return m_path / name; }
    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

} // namespace trvx::test
