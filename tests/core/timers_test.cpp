// The timer model on a virtual clock.
#include <gtest/gtest.h>

#include "timers.h"

namespace nubbo {
namespace {

constexpr auto Fall = TimerId::Fall;
constexpr auto KeyGate = TimerId::KeyGate;
constexpr auto Repaint = TimerId::Repaint;
constexpr auto Hold = TimerId::Hold;

// The earliest instant a ticking timer falls due.
std::optional<Millis> nextDue(const Timers& timers) {
    const auto t = timers.firstDue();
    return t ? std::optional<Millis>(timers.due(*t)) : std::nullopt;
}

// Delivers the first tick due by `now`, rescheduled from `now`.
std::optional<TimerId> takeDue(Timers& timers, Millis now) {
    const auto t = timers.firstDue(now);
    if (t) timers.reschedule(*t, now);
    return t;
}

// Delivers every tick due by `until` the way a platform does, one wake-up at
// a time, and returns them as "timer@time".
std::vector<std::string> run(Timers& timers, Millis& now, Millis until) {
    std::vector<std::string> ticks;
    while (auto due = nextDue(timers)) {
        if (*due > until) break;
        now = std::max(now, *due);
        while (auto t = takeDue(timers, now))
            ticks.push_back(std::to_string(int(*t) + 1) + "@" + std::to_string(now));
    }
    now = until;
    return ticks;
}

TEST(Timers, EnabledAtTFirstFallsDueAtTPlusInterval) {
    Timers timers;
    timers.setInterval(Fall, 500, 0);
    timers.enable(Fall, 120);
    EXPECT_EQ(nextDue(timers), 620);
    Millis now = 120;
    EXPECT_EQ(run(timers, now, 1620), (std::vector<std::string>{"1@620", "1@1120", "1@1620"}));
}

TEST(Timers, ReEnablingOrSameIntervalKeepsTheCountdown) {
    Timers timers;
    timers.setInterval(Fall, 500, 0);
    timers.enable(Fall, 0);
    timers.enable(Fall, 300);
    timers.setInterval(Fall, 500, 400);
    EXPECT_EQ(timers.due(Fall), 500);
}

TEST(Timers, ANewIntervalRestartsTheCountdown) {
    Timers timers;
    timers.setInterval(Fall, 400, 0);
    timers.enable(Fall, 0);
    timers.setInterval(Fall, 500, 7);
    EXPECT_EQ(timers.due(Fall), 507);
}

TEST(Timers, DisabledTimersAndZeroIntervalsNeverTick) {
    Timers timers;
    timers.setInterval(Fall, 100, 0);
    timers.enable(Fall, 0);
    timers.disable(Fall);
    timers.setInterval(KeyGate, 0, 0);
    timers.enable(KeyGate, 0);
    EXPECT_EQ(nextDue(timers), std::nullopt);
    EXPECT_EQ(takeDue(timers, 1000), std::nullopt);
}

TEST(Timers, TiesGoInOrderFallToHold) {
    Timers timers;
    for (auto t : {Hold, Repaint, KeyGate, Fall}) {
        timers.setInterval(t, 10, 0);
        timers.enable(t, 0);
    }
    Millis now = 0;
    EXPECT_EQ(run(timers, now, 10), (std::vector<std::string>{"1@10", "2@10", "3@10", "4@10"}));
}

TEST(Timers, ATickDisabledBeforeItsTurnIsNotDelivered) {
    Timers timers;
    for (auto t : {Fall, KeyGate}) {
        timers.setInterval(t, 10, 0);
        timers.enable(t, 0);
    }
    auto first = takeDue(timers, 10);
    ASSERT_EQ(first, Fall);
    timers.disable(KeyGate);  // as the fall handler might
    EXPECT_EQ(takeDue(timers, 10), std::nullopt);
}

TEST(Timers, EarlierDueGoesFirstWhateverTheIndex) {
    Timers timers;
    timers.setInterval(Fall, 30, 0);
    timers.setInterval(Hold, 20, 0);
    timers.enable(Fall, 0);
    timers.enable(Hold, 0);
    Millis now = 0;
    EXPECT_EQ(run(timers, now, 60),
              (std::vector<std::string>{"4@20", "1@30", "4@40", "1@60", "4@60"}));
}

TEST(Timers, PostponeMovesEveryCountdown) {
    Timers timers;
    timers.setInterval(Fall, 500, 0);
    timers.enable(Fall, 0);
    timers.postpone(2000);
    EXPECT_EQ(nextDue(timers), 2500);
}

}  // namespace
}  // namespace nubbo
