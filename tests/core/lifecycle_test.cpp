// Start-up, New, Pause, Exit and the help box's stillness.
#include <gtest/gtest.h>

#include "rig.h"

namespace nubbo::test {
namespace {

TEST(Load, GivesTheStartValues) {
    for (bool expert : {false, true}) {
        FakeWindow window;
        window.expert = expert;
        VirtualClock clock;
        TestGame game(window, clock, 1);
        game.load(expert);
        const State& s = game.state();
        EXPECT_EQ(s.px, 3);
        EXPECT_EQ(s.py, 0);
        EXPECT_EQ(s.score, 0);
        EXPECT_EQ(s.level, 1);
        EXPECT_EQ(s.nextLevelScore, 100);
        EXPECT_TRUE(s.keysOpen);
        EXPECT_EQ(s.kinds, 0);
        EXPECT_EQ(s.fallInterval, expert ? 400 : 500);
        for (const auto& row : s.board)
            for (Tile t : row) EXPECT_EQ(t, EMPTY);
        EXPECT_TRUE(window.bannerShown);
        EXPECT_FALSE(window.gameOverShown);
        const Timers& t = game.timers();
        EXPECT_FALSE(t.enabled(Fall));
        EXPECT_TRUE(t.enabled(KeyGate));
        EXPECT_TRUE(t.enabled(Repaint));
        EXPECT_FALSE(t.enabled(Hold));
        EXPECT_EQ(t.interval(Fall), 400);
        EXPECT_EQ(t.interval(Hold), 1000);
        EXPECT_EQ(clock.wakeRequested(), 10);
    }
}

TEST(NewGame, ResetsAGameInProgress) {
    Rig rig;
    rig.newGame();
    rig.s().score = 777;
    rig.s().level = 5;
    rig.s().nextLevelScore = 1318;
    rig.s().board[12][0] = 1;
    rig.rules().endGame();
    rig.newGame();
    EXPECT_EQ(rig.s().score, 0);
    EXPECT_EQ(rig.s().level, 1);
    EXPECT_EQ(rig.s().nextLevelScore, 100);
    EXPECT_EQ(rig.s().board[12][0], EMPTY);
    EXPECT_FALSE(rig.window.gameOverShown);
    EXPECT_FALSE(rig.window.bannerShown);
    EXPECT_EQ(rig.s().kinds, 5);
    EXPECT_TRUE(rig.game.timers().enabled(Fall));
}

TEST(NewGame, KindsAndFallIntervalFollowTheCheckBox) {
    for (bool expert : {false, true}) {
        Rig rig;
        rig.window.expert = expert;
        rig.newGame();
        EXPECT_EQ(rig.s().kinds, expert ? 6 : 5);
        EXPECT_EQ(rig.game.timers().interval(Fall), 400);  // until the first paint
        rig.advance(10);
        EXPECT_EQ(rig.game.timers().interval(Fall), expert ? 400 : 500);
    }
}

TEST(Pause, StopsTheFallUntilAnyKey) {
    Rig rig;
    rig.newGame();
    rig.advance(10);
    rig.game.pause();
    EXPECT_TRUE(rig.window.bannerShown);
    EXPECT_EQ(rig.window.bannerCaption, "PAUSE");
    rig.advance(5000);
    EXPECT_EQ(rig.s().py, 0);
    EXPECT_TRUE(rig.game.timers().enabled(Repaint));  // still repainted
    rig.key(Key::Other);                              // a key with no action of its own
    EXPECT_TRUE(rig.window.bannerShown);              // until the next fall step
    rig.advance(500);
    EXPECT_EQ(rig.s().py, 1);
    EXPECT_FALSE(rig.window.bannerShown);
}

TEST(Pause, BeforeTheFirstGameOnlyReplacesThePrompt) {
    Rig rig;
    rig.game.pause();
    EXPECT_EQ(rig.window.bannerCaption, "PAUSE");
    EXPECT_TRUE(rig.window.bannerShown);
    EXPECT_FALSE(rig.game.timers().enabled(Fall));
    EXPECT_TRUE(rig.game.timers().enabled(Repaint));
}

TEST(Pause, NewWhilePausedFallsWithoutAKey) {
    Rig rig;
    rig.newGame();
    rig.game.pause();
    rig.newGame();
    EXPECT_FALSE(rig.window.bannerShown);
    rig.advance(510);
    EXPECT_EQ(rig.s().py, 1);
}

TEST(Exit, EndsTheProgram) {
    Rig rig;
    rig.newGame();
    rig.game.exit();
    EXPECT_EQ(rig.window.ended, 1);
}

TEST(HelpBox, TheGameStandsStillWhileItIsOpen) {
    Rig rig;
    rig.newGame();
    rig.advance(300);
    rig.game.openHelp();
    const auto paints = rig.window.paints;
    EXPECT_EQ(rig.clock.wakeRequested(), std::nullopt);
    rig.advance(60000);
    rig.game.key(Key::Left);  // the box is modal; nothing reaches the game
    EXPECT_EQ(rig.window.paints, paints);
    EXPECT_EQ(rig.s().px, 3);
    rig.game.closeHelp();
    rig.advance(209);  // the first step is due 500 ms after the first paint, at 10 ms
    EXPECT_EQ(rig.s().py, 0);
    rig.advance(1);
    EXPECT_EQ(rig.s().py, 1);
}

}  // namespace
}  // namespace nubbo::test

namespace nubbo::test {
namespace {

TEST(FocusLost, PausesAFallingPieceOnly) {
    Rig rig;
    rig.game.focusLost();  // idle: the prompt stays
    EXPECT_EQ(rig.window.bannerCaption, "按F2");
    rig.newGame();
    rig.advance(10);
    rig.game.focusLost();
    EXPECT_EQ(rig.window.bannerCaption, "PAUSE");
    EXPECT_TRUE(rig.window.bannerShown);
    EXPECT_FALSE(rig.game.timers().enabled(TimerId::Fall));
    rig.advance(2000);
    EXPECT_EQ(rig.s().py, 0);
    rig.key(Key::Right);  // any key resumes, as from Game > Pause
    rig.advance(500);
    EXPECT_EQ(rig.s().py, 1);
}

TEST(FocusLost, LeavesAHoldAndAnOverGameAlone) {
    Rig rig;
    rig.newGame();
    setBoard(rig.s(), bottom({".33.....", ".22....."}));
    for (int r = 0; r < 3; ++r) rig.s().board[10 + r][3] = Tile(4 - r);
    rig.rules().settleLanding();  // a chain: the banner's hold
    rig.game.focusLost();
    EXPECT_EQ(rig.window.bannerCaption, " 2連扁");
    rig.advance(1000);
    EXPECT_TRUE(rig.game.timers().enabled(TimerId::Fall));  // the hold ended as usual

    setBoard(rig.s(), top({"...1....", "...2....", "...3...."}));
    rig.rules().dealPiece();  // blocked: game over
    rig.window.bannerCaption = "";
    rig.game.focusLost();
    EXPECT_EQ(rig.window.bannerCaption, "");
}

}  // namespace
}  // namespace nubbo::test
