// Random scripts of play give the same output, command by command, whether
// idle ticks are skipped or every tick is delivered.
#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "script.h"

namespace nubbo::sim {
namespace {

// A script as a player's session might go: keys of the game and others,
// waits of every length, Pause, New, Help, the difficulty box, shows, and
// now and then a crowded board laid by hand and scanned.
std::vector<std::string> randomScript(std::mt19937& rng) {
    auto pick = [&](auto... options) {
        const int all[] = {options...};
        return all[rng() % sizeof...(options)];
    };
    std::vector<std::string> lines;
    if (rng() % 4 == 0) lines.push_back("check1 1");
    lines.push_back("seed " + std::to_string(rng() % 1000));
    lines.push_back("new");
    const int commands = 5 + int(rng() % 60);
    for (int n = 0; n < commands; ++n) {
        const unsigned e = rng() % 100;
        if (e < 45) {
            lines.push_back("key " + std::to_string(pick(37, 39, 32, 40, 65, 16, 113)));
        } else if (e < 80) {
            const int ms = rng() % 3 == 0 ? int(rng() % 2501) : pick(0, 1, 9, 10, 11, 500, 1000);
            lines.push_back("advance " + std::to_string(ms));
        } else if (e < 88) {
            lines.push_back("show");
        } else if (e < 91) {
            lines.push_back("pause");
        } else if (e < 93) {
            lines.push_back("new");
        } else if (e < 95) {
            lines.push_back("help");
        } else if (e < 97) {
            lines.push_back("check1 " + std::to_string(rng() % 2));
        } else {
            lines.push_back("board");
            for (int r = 0; r < kRows; ++r) {
                std::string row;
                for (int c = 0; c < kCols; ++c)
                    row += r < 5 || rng() % 3 == 0 ? '.' : char('0' + rng() % 6);
                lines.push_back(row);
            }
            if (rng() % 2) lines.push_back("check");
        }
    }
    lines.push_back("show");
    return lines;
}

TEST(SkipEquivalence, EveryCommandPrintsTheSameWithAndWithoutSkipping) {
    std::mt19937 rng(20261208);
    for (int n = 0; n < 3000; ++n) {
        std::ostringstream skipping, delivering;
        Script a(skipping, true), b(delivering, false);
        const auto lines = randomScript(rng);
        for (std::size_t k = 0; k < lines.size(); ++k) {
            const auto sa = a.feed(lines[k]), sb = b.feed(lines[k]);
            ASSERT_EQ(sa, sb);
            ASSERT_EQ(skipping.str(), delivering.str())
                << "script " << n << ", after line " << k + 1 << " (" << lines[k] << ")";
        }
    }
}

}  // namespace
}  // namespace nubbo::sim
