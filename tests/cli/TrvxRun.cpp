#include "tests/cli/TrvxRun.h"

#include "tests/language/PeFixtures.h"

#include <cstdlib>
#include <sys/wait.h>

namespace trvx::test {

TTrvxResult RunShell(const std::filesystem::path& dir, const std::string& command) {
    const std::filesystem::path out = dir / "stdout.txt", err = dir / "stderr.txt";
    const std::string line = "cd \"" + dir.string() + "\" && (" + command + ") >\"" + out.string() +
                             "\" 2>\"" + err.string() + "\"";
    const int rc = std::system(line.c_str());
    TTrvxResult r{WIFEXITED(rc) ? WEXITSTATUS(rc) : -1, ReadBytes(out), ReadBytes(err)};
    std::filesystem::remove(out);
    std::filesystem::remove(err);
    return r;
}

TTrvxResult RunTrvx(const std::filesystem::path& dir, const std::string& args) {
    return RunShell(dir, "\"" TARVIN_TRVX_BIN "\" " + args);
}

} // namespace trvx::test
