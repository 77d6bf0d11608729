#include "cli/Program.h"

#include <iostream>

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    return trvx::cli::TProgram().Run(argc, argv);
}
