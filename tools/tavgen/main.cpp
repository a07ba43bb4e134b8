#include "tavgen/Tavgen.h"

#include <csignal>
#include <iostream>
#include <unistd.h>

int main(int argc, char** argv) {
    std::signal(SIGXFSZ, SIG_IGN); // a file-size limit makes writes fail with EFBIG, not a kill
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (::isatty(STDIN_FILENO) == 1) {
        tav::Terminal terminal{std::cin, std::cerr};
        return tav::RunTavgen(args, std::cout, std::cerr, &terminal);
    }
    return tav::RunTavgen(args, std::cout, std::cerr);
}
