// Whole games played by a simple scripted player on the virtual clock, with
// the board checked after every landing.
#include <gtest/gtest.h>

#include <random>

#include "fake_window.h"
#include "invariants.h"

namespace nubbo::test {
namespace {

// Checks every landing as the next piece is dealt: the board without that
// new piece must hold no run, no cleared cell and no floating tile, and the
// score must be the cells cleared plus the chain bonuses.
struct LandingChecker : Recorder {
    std::int64_t expectedScore = 0;
    int landings = 0;
    std::vector<std::string> faults;

    void passPainted() override {
        Recorder::passPainted();
        const State& s = game->state();
        for (const auto& row : s.board)
            for (Tile t : row) expectedScore += t == CLEARING;
        if (s.combo > 1) expectedScore += 5 * s.combo * s.combo;
        if (s.score != expectedScore) faults.push_back("score " + std::to_string(s.score));
    }
    void spawned() override {
        Recorder::spawned();
        ++landings;
        Tile board[kRows][kCols];
        std::copy(&game->state().board[0][0], &game->state().board[0][0] + kRows * kCols,
                  &board[0][0]);
        for (int r = 0; r < 3; ++r) board[r][3] = EMPTY;
        if (auto run = findRun(board); !run.empty()) faults.push_back("run at " + run);
        if (int c = floatingColumn(board); c >= 0)
            faults.push_back("gap in column " + std::to_string(c));
        if (!onlyTilesAndEmpty(board)) faults.push_back("a cleared cell left");
    }
};

class WholeGame : public ::testing::TestWithParam<int> {};

TEST_P(WholeGame, PlaysToGameOverWithASoundBoardAfterEveryLanding) {
    FakeWindow window;
    window.check1 = GetParam() % 2;
    VirtualClock clock;
    LandingChecker checker;
    Game game(window, clock, &checker);
    checker.game = &game;
    checker.window = &window;
    game.load();
    game.random().seed(GetParam());
    game.newGame();

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
    int lastSpawns = -1, target = 3;
    for (int step = 0; step < 200000 && checker.overs == 0; ++step) {
        if (checker.spawns != lastSpawns) {
            lastSpawns = checker.spawns;
            target = lowestColumn(game.state());
            if (player() % 2) game.keyDown(32, 0);
        }
        const State& s = game.state();
        if (s.px > target)
            game.keyDown(37, 0);
        else if (s.px < target)
            game.keyDown(39, 0);
        else if (player() % 3 == 0)
            game.keyDown(40, 0);
        clock.advance(game, 10 + player() % 40);
    }
    EXPECT_EQ(checker.overs, 1);
    EXPECT_TRUE(window.label1);
    EXPECT_GT(checker.landings, 30);
    EXPECT_GT(checker.passes.size(), 0u);
    EXPECT_EQ(game.state().score, checker.expectedScore);
    EXPECT_TRUE(checker.faults.empty()) << checker.faults.front();
    EXPECT_EQ(window.text1, std::to_string(game.state().score));
}

INSTANTIATE_TEST_SUITE_P(Seeds, WholeGame, ::testing::Range(1, 9));

}  // namespace
}  // namespace nubbo::test
