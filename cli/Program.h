#pragma once

#include <CLI/CLI.hpp>

#include <map>
#include <string>

#include "cli/Command.h"

namespace trvx::cli {

// The whole command line: every registered command on one parser. The man
// page is built from the same parser, so the two cannot disagree.
class TProgram {
public:
    TProgram();
    int Run(int argc, char** argv);
    const CLI::App& Root() const { return m_root; }

private:
    int Help(const CLI::App& help);

    CLI::App m_root;
    std::map<const CLI::App*, CommandRun> m_runs;
    std::string m_helpTopic;
};

} // namespace trvx::cli
