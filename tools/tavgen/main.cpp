#include "tools/tavgen/Tavgen.h"

#include <iostream>

int main(int argc, char** argv) {
    return tav::RunTavgen(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
