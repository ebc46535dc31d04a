// nubbo-sim: the game's rules behind a text front end and a virtual clock.
// Reads a script on standard input and prints what happens.
// With --no-skip every idle timer tick is delivered too (the output is the
// same either way; the option exists to show that).
#include <cstring>
#include <iostream>

#include "script.h"

int main(int argc, char** argv) {
    bool skip = true;
    for (int k = 1; k < argc; ++k) {
        if (std::strcmp(argv[k], "--no-skip") == 0) {
            skip = false;
        } else {
            std::cerr << "usage: nubbo-sim [--no-skip] < SCRIPT\n";
            return 2;
        }
    }
    std::ios::sync_with_stdio(false);
    return nubbo::sim::runScript(std::cin, std::cout, std::cerr, skip);
}
