// Ticks that would change nothing wake nobody, and skipping them changes
// nothing a player or the rules can see.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

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

// Everything the player and the rules can see, for comparing two games: the
// window as it stands between events, then the game brought up to now.
std::string snapshot(Game& game, const FakeWindow& w) {
    std::string out = "L" + std::to_string(w.gameOverShown) + std::to_string(w.bannerShown) +
                      w.bannerCaption + " T" + w.score + "/" + w.level + " screen";
    for (const auto& row : w.screen)
        for (int p : row) out += char('0' + p);
    game.wake();
    const State& s = game.state();
    for (const auto& row : boardRows(s)) out += row;
    out += " px" + std::to_string(s.px) + " py" + std::to_string(s.py);
    for (int k = 0; k < 3; ++k) out += " " + std::to_string(s.piece[k]);
    out += " s" + std::to_string(s.score) + " l" + std::to_string(s.level) + " n" +
           std::to_string(s.nextLevelScore) + " c" + std::to_string(s.combo) + " a" +
           std::to_string(s.keysOpen) + " sp" + std::to_string(s.fallInterval);
    for (int k = 0; k < kTimerCount; ++k) {
        const auto t = static_cast<TimerId>(k);
        out += " t" + std::to_string(game.timers().enabled(t)) + "/" +
               std::to_string(game.timers().interval(t));
        if (game.timers().enabled(t)) out += "@" + std::to_string(game.timers().due(t));
    }
    return out;
}

// The window is told exactly what it would be told with every tick
// delivered, at every moment between events: nothing it shows lags.
class SkipEquivalence : public ::testing::TestWithParam<int> {};

TEST_P(SkipEquivalence, RandomPlayLooksTheSameWithAndWithoutSkipping) {
    FakeWindow wa, wb;
    VirtualClock ca, cb;
    TestGame a(wa, ca, GetParam()), b(wb, cb, GetParam());
    b.setSkipIdleTicks(false);
    a.load(false);
    b.load(false);
    std::mt19937 events(GetParam());
    const Key keys[] = {Key::Left,  Key::Right, Key::Rotate, Key::Down, Key::Left,
                        Key::Right, Key::Down,  Key::Other,  Key::Other};
    for (int step = 0; step < 4000; ++step) {
        const unsigned e = events() % 100;
        auto both = [&](auto&& f) { f(a), f(b); };
        if (e < 2)
            both([&](TestGame& g) { g.newGame(wa.expert); });
        else if (e < 3)
            both([](TestGame& g) { g.pause(); });
        else if (e < 4)
            wa.expert = wb.expert = events() % 2 == 1;
        else if (e < 60) {
            const Key key = keys[events() % std::size(keys)];
            both([&](TestGame& g) { g.key(key); });
        } else {
            const Millis ms = events() % 8 == 0 ? events() % 3000 : events() % 60;
            ca.pass(a, ms);  // only the wake-ups each game asks for
            cb.pass(b, ms);
        }
        ASSERT_EQ(snapshot(a, wa), snapshot(b, wb)) << "step " << step;
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, SkipEquivalence, ::testing::Range(1, 7));

}  // namespace
}  // namespace nubbo::test
