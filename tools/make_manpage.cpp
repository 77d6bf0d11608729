// Builds trvx(1) from its template and the parser trvx itself runs.
#include "cli/ManPage.h"
#include "cli/Program.h"

#include <fstream>
#include <iostream>
#include <iterator>
#include <stdexcept>

#ifndef TARVIN_VERSION
#define TARVIN_VERSION "unknown"
#endif

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: make_manpage TEMPLATE OUT\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    const std::string page{std::istreambuf_iterator<char>(in), {}};
    if (!in.good() && !in.eof()) {
        std::cerr << "make_manpage: cannot read " << argv[1] << "\n";
        return 1;
    }
    try {
        const trvx::cli::TProgram program;
        const std::string text = trvx::cli::ManPage(program.Root(), page, TARVIN_VERSION);
        std::ofstream out(argv[2], std::ios::binary);
        out << text;
        if (!out.flush())
            throw std::runtime_error(std::string("cannot write ") + argv[2]);
    } catch (const std::exception& e) {
        std::cerr << "make_manpage: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
