// Whole games of random play on the virtual clock, the piece steered towards
// the lowest column: each runs to its game over with every invariant held
// after every event and every landing, and shows its end as a player sees it.
#include <gtest/gtest.h>

#include "random_player.h"

namespace nubbo::test {
namespace {

TEST(WholeGame, RandomPlayRunsToGameOverWithEveryInvariantHeld) {
    for (int seed = 1; seed <= 6; ++seed) {
        RandomPlayer p(seed);
        std::int64_t overs = 0;
        while (p.checker.overs < 3 && p.events < 1'000'000) {
            p.step();
            if (p.checker.overs == overs) continue;
            overs = p.checker.overs;
            const State& s = p.game.state();
            EXPECT_TRUE(p.window.gameOverShown) << "seed " << seed;
            EXPECT_FALSE(p.window.underWay) << "seed " << seed;
            EXPECT_EQ(p.window.score, std::to_string(s.score)) << "seed " << seed;
            EXPECT_EQ(s.score, p.checker.expectedScore()) << "seed " << seed;
        }
        EXPECT_EQ(p.checker.overs, 3) << "seed " << seed;
        EXPECT_GT(p.checker.landings, 3 * 30) << "seed " << seed;
        EXPECT_EQ(p.checker.violations, 0) << "seed " << seed << ": " << p.checker.first.front();
    }
}

}  // namespace
}  // namespace nubbo::test
