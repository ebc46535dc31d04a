// Whole games played by a simple scripted player on the virtual clock, with
// the board checked after every landing.
#include <gtest/gtest.h>

#include <random>

#include "checker.h"
#include "rig.h"

namespace nubbo::test {
namespace {

class WholeGame : public ::testing::TestWithParam<int> {};

TEST_P(WholeGame, PlaysToGameOverWithASoundBoardAfterEveryLanding) {
    struct Played {
        FakeWindow window;
        VirtualClock clock;
        TestGame game;
        InvariantChecker checker;
        explicit Played(int seed) : game(window, clock, seed, &checker), checker(game, window) {}
    } played(GetParam());
    auto& [window, clock, game, checker] = played;
    window.expert = GetParam() % 2;
    game.load(window.expert);
    checker.newGame();
    game.newGame(window.expert);

    std::mt19937 player(GetParam());
    // The player steers each piece to one of the lowest columns, sometimes
    // rotating it, and otherwise lets it fall or drops it a row.
    auto lowestColumn = [&](const State& s) {
        int best = 0, bestTop = -1;
        for (int c = 0; c < kCols; ++c) {
            int top = 3;  // the falling piece's rows do not count
            while (top < kRows && s.board[top][c] == EMPTY) ++top;
            if (top > bestTop || (top == bestTop && player() % 2)) best = c, bestTop = top;
        }
        return best;
    };
    std::int64_t lastLandings = -1;
    int target = 3;
    for (int step = 0; step < 200000 && game.state().inGame; ++step) {
        if (checker.landings != lastLandings) {
            lastLandings = checker.landings;
            target = lowestColumn(game.state());
            if (player() % 2) game.key(Key::Rotate);
        }
        const State& s = game.state();
        if (s.px > target)
            game.key(Key::Left);
        else if (s.px < target)
            game.key(Key::Right);
        else if (player() % 3 == 0)
            game.key(Key::Down);
        clock.advance(game, 10 + player() % 40);
        checker.afterEvent();
    }
    EXPECT_FALSE(game.state().inGame);  // over
    EXPECT_TRUE(window.gameOverShown);
    EXPECT_GT(checker.landings, 30);
    EXPECT_GT(game.state().score, 0);
    EXPECT_EQ(game.state().score, checker.expectedScore());
    EXPECT_EQ(checker.violations, 0) << checker.first.front();
    EXPECT_EQ(window.score, std::to_string(game.state().score));
}

INSTANTIATE_TEST_SUITE_P(Seeds, WholeGame, ::testing::Range(1, 9));

}  // namespace
}  // namespace nubbo::test
