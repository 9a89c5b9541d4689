#include "commandline.h"

#include <iostream>

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return quendral::emulator::runCommandLine(args, std::cout, std::cerr);
}
