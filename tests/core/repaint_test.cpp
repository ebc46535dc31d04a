// Painting, the chain banner and bonus, the level-up and its fall interval.
#include <gtest/gtest.h>

#include "rig.h"

namespace nubbo::test {
namespace {

TEST(Repaint, PaintsEveryCellWithItsTilesPicture) {
    Rig rig;
    rig.s().board[0][0] = 2;
    rig.s().board[12][7] = 4;
    rig.s().board[5][3] = CLEARING;
    rig.rules().paintAndScore();
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kCols; ++c)
            EXPECT_EQ(rig.game.screen().cell[r][c], rig.s().board[r][c]);
    rig.game.wake();
    EXPECT_EQ(rig.window.screen[5][3], CLEARING);  // the window is told once the event ends
}

TEST(Repaint, StartUpRepaintsTheEmptyBoardWithScoreAndLevel) {
    Rig rig;
    EXPECT_EQ(rig.window.score, "");
    EXPECT_EQ(rig.window.bannerCaption, "按F2");
    EXPECT_TRUE(rig.window.bannerShown);
    rig.advance(10);
    EXPECT_EQ(rig.window.score, "0");
    EXPECT_EQ(rig.window.level, "1");
    ASSERT_EQ(rig.window.paints, 104);
    for (const auto& row : rig.window.screen)
        for (int p : row) EXPECT_EQ(p, EMPTY);
    rig.advance(90);
    EXPECT_EQ(rig.window.paints, 104);  // the window is told only of changes
    EXPECT_TRUE(rig.s().keysOpen);
}

TEST(Repaint, ChainCountOfOneIsAnOrdinaryPaint) {
    Rig rig;
    rig.newGame();
    rig.s().combo = 1;
    rig.s().score = 10;
    rig.rules().paintAndScore();
    EXPECT_EQ(rig.s().score, 10);
    EXPECT_FALSE(rig.game.screen().bannerShown);
    EXPECT_TRUE(rig.game.timers().enabled(Fall));
    EXPECT_TRUE(rig.game.timers().enabled(KeyGate));
    EXPECT_EQ(rig.game.timers().interval(Fall), 500);  // speed replaces New's 400
    EXPECT_EQ(rig.game.screen().score, "10");
}

struct ChainCase {
    int combo;
    int bonus;
    const char* caption;
};

class ChainBanner : public ::testing::TestWithParam<ChainCase> {};

TEST_P(ChainBanner, ShowsTheCountAddsTheBonusAndHolds) {
    Rig rig;
    rig.newGame();
    rig.advance(10);
    rig.s().combo = GetParam().combo;
    rig.s().score = 10;
    rig.rules().paintAndScore();
    EXPECT_EQ(rig.s().score, 10 + GetParam().bonus);
    EXPECT_EQ(rig.game.screen().bannerCaption, GetParam().caption);
    EXPECT_TRUE(rig.game.screen().bannerShown);
    EXPECT_FALSE(rig.s().keysOpen);
    EXPECT_EQ(rig.s().fallInterval, 500);
    const Timers& t = rig.game.timers();
    EXPECT_FALSE(t.enabled(Fall));
    EXPECT_FALSE(t.enabled(KeyGate));
    EXPECT_FALSE(t.enabled(Repaint));
    EXPECT_TRUE(t.enabled(Hold));
    EXPECT_EQ(rig.game.screen().score, std::to_string(10 + GetParam().bonus));
}

INSTANTIATE_TEST_SUITE_P(Counts, ChainBanner,
                         ::testing::Values(ChainCase{2, 20, " 2連扁"}, ChainCase{3, 45, " 3連扁"},
                                           ChainCase{4, 80, " 4連扁"}));

TEST(Repaint, LevelThresholdsNeedAScoreStrictlyAbove) {
    const std::int64_t thresholds[] = {100, 250, 475, 812, 1318};
    Rig rig;
    rig.newGame();
    for (int n = 0; n < 5; ++n) {
        ASSERT_EQ(rig.s().nextLevelScore, thresholds[n]);
        rig.s().score = thresholds[n];  // equal: no level
        rig.rules().paintAndScore();
        EXPECT_EQ(rig.s().level, n + 1);
        rig.s().score = thresholds[n] + 1;
        rig.rules().paintAndScore();
        EXPECT_EQ(rig.s().level, n + 2);
        EXPECT_EQ(rig.game.screen().bannerCaption, "第 " + std::to_string(n + 2) + "關");
        EXPECT_EQ(rig.game.screen().level, std::to_string(n + 2));
        EXPECT_FALSE(rig.s().keysOpen);
        EXPECT_TRUE(rig.game.timers().enabled(Hold));
        EXPECT_FALSE(rig.game.timers().enabled(Fall));
    }
}

TEST(Repaint, LevelCaptionReplacesTheChainCaption) {
    Rig rig;
    rig.newGame();
    rig.s().score = 90;
    rig.s().combo = 2;  // +20 lifts the score past 100
    rig.rules().paintAndScore();
    EXPECT_EQ(rig.s().score, 110);
    EXPECT_EQ(rig.s().level, 2);
    EXPECT_EQ(rig.game.screen().bannerCaption, "第 2關");
}

TEST(Repaint, OneLevelPerCall) {
    Rig rig;
    rig.newGame();
    rig.s().score = 300;  // past 100 and 250
    rig.rules().paintAndScore();
    EXPECT_EQ(rig.s().level, 2);
    rig.rules().paintAndScore();
    EXPECT_EQ(rig.s().level, 3);
}

TEST(Repaint, FallIntervalShortensBy50PerLevelAndStays) {
    Rig rig;
    rig.newGame();
    rig.advance(10);  // first ordinary paint: 500
    rig.s().score = 101;
    rig.rules().paintAndScore();
    EXPECT_EQ(rig.game.timers().interval(Fall), 450);
    rig.advance(1000);  // the hold ends
    rig.advance(10);
    EXPECT_EQ(rig.game.timers().interval(Fall), 450);  // ordinary paints keep it
    rig.s().score = 251;
    rig.rules().paintAndScore();
    EXPECT_EQ(rig.game.timers().interval(Fall), 400);
    EXPECT_EQ(rig.s().fallInterval, 400);
}

TEST(Repaint, FallIntervalNeverDropsBelow50) {
    Rig rig;
    rig.window.expert = 1;  // the harder game starts at 400 ms
    rig.newGame();
    rig.advance(10);
    std::vector<std::int32_t> seen;
    for (int n = 0; n < 12; ++n) {
        rig.s().score = rig.s().nextLevelScore + 1;
        rig.rules().paintAndScore();
        seen.push_back(rig.game.timers().interval(Fall));
    }
    EXPECT_EQ(seen,
              (std::vector<std::int32_t>{350, 300, 250, 200, 150, 100, 50, 50, 50, 50, 50, 50}));
    EXPECT_EQ(rig.s().level, 13);  // the level still rises
    // The game still falls at the floor once the hold is over.
    rig.advance(1000);
    EXPECT_EQ(rig.game.timers().interval(Fall), 50);
    EXPECT_TRUE(rig.game.timers().enabled(Fall));
}

}  // namespace
}  // namespace nubbo::test
