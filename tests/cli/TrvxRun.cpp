#include "tests/cli/TrvxRun.h"

#include "tests/language/PeFixtures.h"

#include <cstdlib>
#include <sys/wait.h>

namespace trvx::test {

TTrvxResult RunTrvx(const std::filesystem::path& dir, const std::string& args) {
    const std::filesystem::path out = dir / "stdout.txt", err = dir / "stderr.txt";
    const std::string command = "cd \"" + dir.string() + "\" && \"" TARVIN_TRVX_BIN "\" " + args +
                                " >\"" + out.string() + "\" 2>\"" + err.string() + "\"";
    const int rc = std::system(command.c_str());
    TTrvxResult r{WIFEXITED(rc) ? WEXITSTATUS(rc) : -1, ReadBytes(out), ReadBytes(err)};
    std::filesystem::remove(out);
    std::filesystem::remove(err);
    return r;
}

} // namespace trvx::test
