// Start-up, New, Pause, Exit and the help box's stillness.
#include <gtest/gtest.h>

#include "rig.h"

namespace nubbo::test {
namespace {

TEST(FormLoad, GivesTheStartValues) {
    for (int check1 : {0, 1}) {
        FakeWindow window;
        window.check1 = check1;
        VirtualClock clock;
        TestGame game(window, clock, 1);
        game.load();
        const State& s = game.state();
        EXPECT_EQ(s.px, 3);
        EXPECT_EQ(s.py, 0);
        EXPECT_EQ(s.score, 0);
        EXPECT_EQ(s.level, 1);
        EXPECT_EQ(s.nextlevel, 100);
        EXPECT_EQ(s.active, 1);
        EXPECT_EQ(s.kinds, 0);
        EXPECT_EQ(s.speed, check1 ? 400 : 500);
        for (const auto& row : s.board)
            for (Tile t : row) EXPECT_EQ(t, EMPTY);
        EXPECT_TRUE(window.label2);
        EXPECT_FALSE(window.label1);
        const Timers& t = game.timers();
        EXPECT_FALSE(t.enabled(T1));
        EXPECT_TRUE(t.enabled(T2));
        EXPECT_TRUE(t.enabled(T3));
        EXPECT_FALSE(t.enabled(T4));
        EXPECT_EQ(t.interval(T1), 400);
        EXPECT_EQ(t.interval(T4), 1000);
        EXPECT_EQ(clock.wakeRequested(), 10);
    }
}

TEST(NewClick, ResetsAGameInProgress) {
    Rig rig;
    rig.game.newGame();
    rig.s().score = 777;
    rig.s().level = 5;
    rig.s().nextlevel = 1318;
    rig.s().board[12][0] = 1;
    rig.rules().over();
    rig.game.newGame();
    EXPECT_EQ(rig.s().score, 0);
    EXPECT_EQ(rig.s().level, 1);
    EXPECT_EQ(rig.s().nextlevel, 100);
    EXPECT_EQ(rig.s().board[12][0], EMPTY);
    EXPECT_FALSE(rig.window.label1);
    EXPECT_FALSE(rig.window.label2);
    EXPECT_EQ(rig.s().kinds, 5);
    EXPECT_TRUE(rig.game.timers().enabled(T1));
}

TEST(NewClick, KindsAndFallIntervalFollowTheCheckBox) {
    for (int check1 : {0, 1}) {
        Rig rig;
        rig.window.check1 = check1;
        rig.game.newGame();
        EXPECT_EQ(rig.s().kinds, check1 ? 6 : 5);
        EXPECT_EQ(rig.game.timers().interval(T1), 400);  // until the first paint
        rig.advance(10);
        EXPECT_EQ(rig.game.timers().interval(T1), check1 ? 400 : 500);
    }
}

TEST(Pause, StopsTheFallUntilAnyKey) {
    Rig rig;
    rig.game.newGame();
    rig.advance(10);
    rig.game.pause();
    EXPECT_TRUE(rig.window.label2);
    EXPECT_EQ(rig.window.caption2, "PAUSE");
    rig.advance(5000);
    EXPECT_EQ(rig.s().py, 0);
    EXPECT_TRUE(rig.game.timers().enabled(T3));  // still repainted
    rig.key(65);                                 // a key with no action of its own
    EXPECT_TRUE(rig.window.label2);              // until the next fall step
    rig.advance(500);
    EXPECT_EQ(rig.s().py, 1);
    EXPECT_FALSE(rig.window.label2);
}

TEST(Pause, BeforeTheFirstGameOnlyReplacesThePrompt) {
    Rig rig;
    rig.game.pause();
    EXPECT_EQ(rig.window.caption2, "PAUSE");
    EXPECT_TRUE(rig.window.label2);
    EXPECT_FALSE(rig.game.timers().enabled(T1));
    EXPECT_TRUE(rig.game.timers().enabled(T3));
}

TEST(Pause, NewWhilePausedFallsWithoutAKey) {
    Rig rig;
    rig.game.newGame();
    rig.game.pause();
    rig.game.newGame();
    EXPECT_FALSE(rig.window.label2);
    rig.advance(510);
    EXPECT_EQ(rig.s().py, 1);
}

TEST(Exit, EndsTheProgram) {
    Rig rig;
    rig.game.newGame();
    rig.game.exit();
    EXPECT_EQ(rig.window.ended, 1);
}

TEST(HelpBox, TheGameStandsStillWhileItIsOpen) {
    Rig rig;
    rig.game.newGame();
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
    EXPECT_EQ(rig.window.caption2, "按F2");
    rig.game.newGame();
    rig.advance(10);
    rig.game.focusLost();
    EXPECT_EQ(rig.window.caption2, "PAUSE");
    EXPECT_TRUE(rig.window.label2);
    EXPECT_FALSE(rig.game.timers().enabled(TimerId::Timer1));
    rig.advance(2000);
    EXPECT_EQ(rig.s().py, 0);
    rig.key(39);  // any key resumes, as from Game > Pause
    rig.advance(500);
    EXPECT_EQ(rig.s().py, 1);
}

TEST(FocusLost, LeavesAHoldAndAnOverGameAlone) {
    Rig rig;
    rig.game.newGame();
    setBoard(rig.s(), bottom({".33.....", ".22....."}));
    for (int r = 0; r < 3; ++r) rig.s().board[10 + r][3] = Tile(4 - r);
    rig.rules().check();  // a chain: the banner's hold
    rig.game.focusLost();
    EXPECT_EQ(rig.window.caption2, " 2連扁");
    rig.advance(1000);
    EXPECT_TRUE(rig.game.timers().enabled(TimerId::Timer1));  // the hold ended as usual

    setBoard(rig.s(), top({"...1....", "...2....", "...3...."}));
    rig.rules().NEWOBJ();  // blocked: game over
    rig.window.caption2 = "";
    rig.game.focusLost();
    EXPECT_EQ(rig.window.caption2, "");
}

}  // namespace
}  // namespace nubbo::test
