// Writes the image the tool starts with as a data file: a seed for the fuzzers that covers the
// defaults, next to the virtual radio's factory memory.

#include "app/window_state.h"

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUT.dat\n", argv[0]);
        return 2;
    }
    const nx5rb::WindowState state;
    if (const auto reason = nx5rb::WriteDataFile(argv[1], state.Image)) {
        std::fprintf(stderr, "%s: %s\n", argv[1], reason->c_str());
        return 1;
    }
    return 0;
}
