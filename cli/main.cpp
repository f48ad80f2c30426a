#include "Runner.h"

#include <iostream>
#include <unistd.h>

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    // A run prints a line a path: a larger buffer writes them in fewer pieces.
    static char buffer[1 << 16];
    std::cout.rdbuf()->pubsetbuf(buffer, sizeof buffer);
    const std::vector<std::string> args(argv + 1, argv + argc);
    return RunPathloom(args, std::cout, std::cerr, isatty(STDERR_FILENO) ? &std::cerr : nullptr);
}
