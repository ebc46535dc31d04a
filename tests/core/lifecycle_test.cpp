// Start-up, New, Pause, Exit and the help box's stillness.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

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

// A window that takes longer to build than the game's first ticks counts
// as created when its program started: its load still comes first, the ticks
// due since follow it, and from then on it is the game a window loaded on
// time would be, on the screen too (the board already painted).
TEST(Load, OfAWindowBuiltLateComesFirstAndLeavesTheGameAsIfOnTime) {
    for (Millis late : {0, 9, 10, 23, 41}) {
        SCOPED_TRACE(late);
        FakeWindow onTimeWindow, lateWindow;
        VirtualClock onTimeClock, lateClock;
        TestGame onTime(onTimeWindow, onTimeClock, 1);
        onTime.load(false);
        onTimeClock.advance(onTime, late);
        {  // the program runs `late` ms before its window exists
            FakeWindow none;
            TestGame unloaded(none, lateClock, 1);  // asks the clock for nothing
            lateClock.pass(unloaded, late);
        }
        TestGame built(lateWindow, lateClock, 1, nullptr, Millis{0});
        built.load(false);
        for (int step = 0; step < 3; ++step) {
            EXPECT_EQ(built.state(), onTime.state());
            EXPECT_EQ(built.screen(), onTime.screen());
            EXPECT_EQ(built.timers(), onTime.timers());
            EXPECT_EQ(lateClock.wakeRequested(), onTimeClock.wakeRequested());
            EXPECT_EQ(lateWindow.level, onTimeWindow.level);
            EXPECT_EQ(lateWindow.score, onTimeWindow.score);
            EXPECT_EQ(lateWindow.bannerShown, onTimeWindow.bannerShown);
            EXPECT_EQ(lateWindow.paints, onTimeWindow.paints);
            EXPECT_EQ(
                0, std::memcmp(lateWindow.screen, onTimeWindow.screen, sizeof lateWindow.screen));
            // Then a game, in step with the other's fall.
            for (TestGame* game : {&onTime, &built}) game->newGame(false);
            onTimeClock.advance(onTime, 517);
            lateClock.advance(built, 517);
        }
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

// Focus loss pauses a game under way, whether its piece is falling or it
// stands in a hold, exactly as Game > Pause does there (the hold runs out,
// nothing falls, "PAUSE" shows, a key resumes); a game not started, over or
// already paused is left exactly as it was. Each situation is played twice,
// one with focus loss and one with Pause (or nothing), and compared at every
// step; the player's view is checked as well.
TEST(FocusLost, PausesAGameUnderWayAsPauseDoesAndLeavesAnyOtherAlone) {
    auto dealt = [](Rig& r) {
        r.newGame();
        r.advance(10);
    };
    auto clearing = [=](Rig& r) {  // a single pass: the gate stays open in its hold
        dealt(r);
        setBoard(r.s(), bottom({"222....."}));
        r.game.scan();
    };
    auto chain = [=](Rig& r) {  // two passes: the banner " 2連扁" and its hold
        dealt(r);
        setBoard(r.s(), bottom({"...4....", ".333....", ".222...."}));
        r.game.scan();
        EXPECT_EQ(r.window.bannerCaption, " 2連扁");
    };
    struct Situation {
        const char* name;
        std::function<void(Rig&)> reach;
        bool pauses;
    };
    const Situation situations[] = {
        {"not started", [](Rig&) {}, false},
        {"falling", dealt, true},
        {"in a clearing's hold", clearing, true},
        {"in a chain's hold", chain, true},
        {"in a hold, its fall restarted by a key",
         [=](Rig& r) {
             clearing(r);
             r.key(Key::Left);
         },
         true},
        {"paused",
         [=](Rig& r) {
             dealt(r);
             r.game.pause();
         },
         false},
        {"paused in a hold",
         [=](Rig& r) {
             chain(r);
             r.game.pause();
         },
         false},
        {"over",
         [=](Rig& r) {
             dealt(r);
             setBoard(r.s(), top({"...1....", "...2....", "...1...."}));
             r.game.scan();
             EXPECT_TRUE(r.window.gameOverShown);
         },
         false},
    };
    for (const Situation& situation : situations) {
        SCOPED_TRACE(situation.name);
        Rig lost, twin;
        situation.reach(lost);
        situation.reach(twin);
        const bool inHold = lost.timers().enabled(Hold);
        EXPECT_EQ(inHold, std::string(situation.name).find("hold") != std::string::npos);
        const std::string caption = lost.window.bannerCaption;
        const bool bannerShown = lost.window.bannerShown;
        lost.game.focusLost();
        if (situation.pauses) twin.game.pause();
        auto same = [&](const char* when) {
            EXPECT_TRUE(lost.s() == twin.s()) << when;
            EXPECT_TRUE(lost.game.screen() == twin.game.screen()) << when;
            EXPECT_TRUE(lost.timers() == twin.timers()) << when;
            EXPECT_EQ(lost.window.bannerCaption, twin.window.bannerCaption) << when;
            EXPECT_EQ(lost.window.bannerShown, twin.window.bannerShown) << when;
        };
        same("at once");
        const Rows board = boardRows(lost.s());
        lost.advance(1000);  // a hold runs out
        twin.advance(1000);
        same("after the hold");
        lost.advance(3000);
        twin.advance(3000);
        same("a while later");
        if (situation.pauses) {
            EXPECT_FALSE(lost.timers().enabled(Hold));
            EXPECT_EQ(boardRows(lost.s()), board);  // nothing fell
            EXPECT_TRUE(lost.window.bannerShown);
            EXPECT_EQ(lost.window.bannerCaption, "PAUSE");
        } else {
            EXPECT_EQ(lost.window.bannerShown, bannerShown);
            EXPECT_EQ(lost.window.bannerCaption, caption);
        }
        const int py = lost.s().py;
        lost.key(Key::Other);  // any key resumes
        twin.key(Key::Other);
        lost.advance(600);
        twin.advance(600);
        same("after a key");
        if (situation.pauses) {
            EXPECT_EQ(lost.s().py, py + 1);
            EXPECT_FALSE(lost.window.bannerShown);
        }
    }
}

}  // namespace
}  // namespace nubbo::test
