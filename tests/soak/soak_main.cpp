// Plays random games until the given number of landings, checking every
// invariant after every event. Usage: soak [LANDINGS] [SEED]
#include <cstdio>
#include <cstdlib>

#include "random_player.h"

int main(int argc, char** argv) {
    const long long target = argc > 1 ? std::atoll(argv[1]) : 20000;
    const unsigned long long seed = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 1;
    nubbo::test::RandomPlayer player(seed);
    while (player.checker.landings < target) player.step();
    const auto& c = player.checker;
    std::printf("landings %lld games %lld events %lld violations %lld\n",
                static_cast<long long>(c.landings), static_cast<long long>(c.games),
                static_cast<long long>(player.events), static_cast<long long>(c.violations));
    for (const auto& v : c.first) std::printf("violation: %s\n", v.c_str());
    return c.violations == 0 ? 0 : 1;
}
