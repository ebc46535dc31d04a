// Ticks that would change nothing wake nobody, and those that change the
// screen come on time. (That skipping them changes nothing anyone can see is
// tests/sim/skip_equivalence_test.cpp.)
#include <gtest/gtest.h>

#include "rig.h"

namespace nubbo::test {
namespace {

TEST(IdleTicks, AnIdleBoardAsksForNoWakeUpAfterItsFirstPaint) {
    Rig rig;
    EXPECT_EQ(rig.clock.wakeRequested(), 10);
    rig.advance(10);
    EXPECT_EQ(rig.clock.wakeRequested(), std::nullopt);
    rig.advance(3600 * 1000);
    EXPECT_EQ(rig.window.paints, 104);
    EXPECT_EQ(rig.window.score, "0");
}

TEST(IdleTicks, AFallingPieceWakesOnlyForItsSteps) {
    Rig rig;
    rig.newGame();
    rig.advance(10);
    EXPECT_EQ(rig.clock.wakeRequested(), 510);
    rig.advance(500);
    // The repaint due at the same instant still shows the moved piece.
    EXPECT_EQ(rig.window.screen[3][3], rig.s().piece[2]);
    EXPECT_EQ(rig.clock.wakeRequested(), 1010);
}

TEST(IdleTicks, TheKeyGateReopensWithoutAWakeUpOfItsOwn) {
    Rig rig;
    rig.newGame();
    rig.advance(15);
    rig.key(Key::Left);
    EXPECT_FALSE(rig.s().keysOpen);
    EXPECT_EQ(rig.clock.wakeRequested(), 510);  // the next fall step
    rig.advance(4);
    rig.key(Key::Left);  // before the gate tick at 20: ignored
    EXPECT_EQ(rig.s().px, 2);
    rig.advance(1);
    rig.key(Key::Left);  // the gate tick is delivered first
    EXPECT_EQ(rig.s().px, 1);
}

TEST(IdleTicks, APausedGameAsksForNoWakeUp) {
    Rig rig;
    rig.newGame();
    rig.advance(10);
    rig.game.pause();
    rig.advance(10);
    EXPECT_EQ(rig.clock.wakeRequested(), std::nullopt);
}

TEST(IdleTicks, SkippedCountdownsKeepTheirPhase) {
    Rig rig;
    rig.newGame();
    rig.advance(10);
    rig.game.pause();
    rig.advance(1234);  // the key gate and the repaint are due at 1250
    rig.key(Key::Other);
    EXPECT_EQ(rig.game.timers().due(TimerId::KeyGate), 1250);
    EXPECT_EQ(rig.game.timers().due(TimerId::Repaint), 1250);
}

// The scheduler plays copies of the game ahead; a copy played through
// clearing passes, landings and a game over tells the original's events
// nothing. (Its state and timers are values of its own.)
TEST(IdleTicks, ACopyOfTheGameTellsNobody) {
    Rig rig;
    rig.newGame();
    setBoard(rig.s(), bottom({"...1....", "...1....", "...2....", "...2....", "..222..."}));
    const int spawns = rig.events.spawns;
    Rules copy(rig.rules());
    for (Millis at = 0; at < 60000 && copy.state().inGame; at += 10) {
        copy.setNow(at);
        for (TimerId t : {Fall, KeyGate, Repaint, Hold})
            if (copy.timers().enabled(t)) copy.onTick(t);
    }
    EXPECT_FALSE(copy.state().inGame);  // played to its end
    EXPECT_GT(copy.state().score, 0);   // through a clearing pass
    EXPECT_EQ(rig.events.spawns, spawns);
    EXPECT_TRUE(rig.events.passes.empty());
    EXPECT_EQ(rig.events.overs, 0);
}

// A platform whose wake-ups come late by as much as the test says.
struct LateClock : Clock {
    Millis time = 0;
    std::optional<Millis> wake;
    Millis now() const override { return time; }
    void wakeAt(std::optional<Millis> due) override { wake = due; }
};

// A wake-up up to 2 ms late counts as on time, so that the fall keeps its
// pace; a later one counts from its delivery, with no catch-up burst.
TEST(IdleTicks, AWakeUpTwoMillisecondsLateIsOnTimeALaterOneIsNot) {
    FakeWindow window;
    LateClock clock;
    TestGame game(window, clock, 1);
    game.load(false);
    game.newGame(false);
    const struct {
        Millis lateBy, nextFall;
    } steps[] = {{2, 1010}, {0, 1510}, {3, 2013}, {1, 2513}};
    Millis due = 510;  // 500 ms after the first repaint
    for (const auto& step : steps) {
        while (clock.wake && *clock.wake < due) {  // the repaints before the fall step
            clock.time = *clock.wake;
            game.wake();
        }
        ASSERT_EQ(clock.wake, due);
        clock.time = due + step.lateBy;
        game.wake();
        EXPECT_EQ(game.timers().due(Fall), step.nextFall) << "late by " << step.lateBy;
        due = step.nextFall;
    }
    EXPECT_EQ(game.state().py, 4);
}

}  // namespace
}  // namespace nubbo::test
