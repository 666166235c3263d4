#include "tools/nibtool.h"

#include <iostream>

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    return run_nibtool(std::vector<std::string>(argv + 1, argv + argc), std::cin, std::cout, std::cerr);
}
