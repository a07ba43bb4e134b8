#include "tavgen/Tavgen.h"

#include <iostream>
#include <unistd.h>

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (::isatty(STDIN_FILENO) == 1) {
        tav::Terminal terminal{std::cin, std::cerr};
        return tav::RunTavgen(args, std::cout, std::cerr, &terminal);
    }
    return tav::RunTavgen(args, std::cout, std::cerr);
}
