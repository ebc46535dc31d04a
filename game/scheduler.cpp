#include "scheduler.h"

namespace nubbo {

namespace {

// The platform's timers wake us up to a millisecond or so after the due
// instant; a tick delivered that late counts as on time, so that the next
// one is scheduled from the due instant and the fall does not drift.
constexpr Millis kOnTimeSlack = 2;

// How many ticks ahead the wake-up looks for one that changes the screen;
// past that it wakes for the next tick that changes anything.
constexpr int kLookahead = 64;

// Delivers the tick of `t` as of its due instant.
void deliverOnTime(Rules& rules, TimerId t) {
    const Millis at = rules.timers().due(t);
    rules.timers().reschedule(t, at);
    rules.setNow(at);
    rules.onTick(t);
}

// Whether the next tick of `t`, delivered on time, would change nothing:
// the same game, and every timer as it was but for the countdown of `t`
// itself. It is played on a copy, which tells nobody and drives nothing of
// the original.
bool changesNothing(const Rules& rules, TimerId t) {
    Rules trial(rules);
    deliverOnTime(trial, t);
    Timers expected = rules.timers();
    expected.reschedule(t, expected.due(t));
    return trial.sameGame(rules) && trial.timers() == expected;
}

// Moves the countdown of `t` on by whole intervals past its ticks due
// before `until` (and at `until` too, when `inclusive`).
void skipTicks(Timers& timers, TimerId t, Millis until, bool inclusive) {
    const Millis due = timers.due(t);
    if (due > until || (due == until && !inclusive)) return;
    const Millis interval = timers.interval(t);
    const Millis behind = until - due;
    Millis steps = behind / interval + 1;
    if (!inclusive && behind % interval == 0) --steps;  // stop on `until` itself
    timers.reschedule(t, due + (steps - 1) * interval);
}

}  // namespace

Scheduler::Scheduler(Clock& clock, Rules& rules) : clock_(clock), rules_(rules) {}

// Elides every tick that would change nothing and comes, in due order,
// before the first tick due by `until` that changes something, and returns
// that tick. Nothing changes the game before it, so the elided ticks stay
// no-ops all the way.
std::optional<TimerId> Scheduler::skipNoOps(Rules& rules, Millis until) const {
    Timers& timers = rules.timers();
    bool noOp[kTimerCount] = {};
    for (int k = 0; k < kTimerCount; ++k) {
        const auto t = static_cast<TimerId>(k);
        noOp[k] = timers.ticking(t) && timers.due(t) <= until && changesNothing(rules, t);
    }
    const auto first = timers.firstDue(until, [&](TimerId t) { return !noOp[int(t)]; });
    if (!first && until == Timers::kNever) return first;  // nothing ever changes again
    const Millis horizon = first ? timers.due(*first) : until;
    const int firstIndex = first ? int(*first) : kTimerCount;
    for (int k = 0; k < kTimerCount; ++k)
        if (noOp[k]) skipTicks(timers, static_cast<TimerId>(k), horizon, k < firstIndex);
    return first;
}

// Ticks come before any event that arrives after they fell due.
void Scheduler::deliverDue(Millis now) {
    for (;;) {
        const auto t = skipIdleTicks_ ? skipNoOps(rules_, now) : rules_.timers().firstDue(now);
        if (!t) break;
        deliver(*t, now);
    }
}

// A tick due before the wake-up last asked for woke nobody: it is delivered
// as of its due instant. So is one delivered on time. One that woke the
// platform late counts from its delivery, with no catch-up burst.
void Scheduler::deliver(TimerId t, Millis now) {
    const Millis due = rules_.timers().due(t);
    const bool wokeNobody = skipIdleTicks_ && (!asked_ || due < *asked_);
    const Millis at = wokeNobody || now - due <= kOnTimeSlack ? due : now;
    rules_.timers().reschedule(t, at);
    rules_.setNow(at);
    rules_.onTick(t);
}

// The instant of the first tick to come that changes the screen, found by
// playing the ticks ahead on a copy of the game in due order; none when
// every timer left ticking would change nothing.
std::optional<Millis> Scheduler::nextVisibleTick() const {
    Rules trial(rules_);
    std::optional<Millis> fallback;
    for (int step = 0; step < kLookahead; ++step) {
        const auto t = skipNoOps(trial, Timers::kNever);
        if (!t) return std::nullopt;
        const Millis due = trial.timers().due(*t);
        if (!fallback) fallback = due;
        const Screen before = trial.screen();
        deliverOnTime(trial, *t);
        if (!(trial.screen() == before)) return due;
    }
    return fallback;
}

void Scheduler::rearm() {
    if (frozen() || rules_.screen().ended) {
        asked_.reset();
    } else if (!skipIdleTicks_) {
        const auto t = rules_.timers().firstDue();
        asked_ = t ? std::optional<Millis>(rules_.timers().due(*t)) : std::nullopt;
    } else {
        asked_ = nextVisibleTick();
    }
    clock_.wakeAt(asked_);
}

void Scheduler::freeze() {
    if (frozen()) return;
    const Millis now = clock_.now();
    deliverDue(now);
    frozenAt_ = now;
    rearm();
}

void Scheduler::thaw() {
    if (!frozen()) return;
    rules_.timers().postpone(clock_.now() - *frozenAt_);
    frozenAt_.reset();
    rearm();
}

}  // namespace nubbo
