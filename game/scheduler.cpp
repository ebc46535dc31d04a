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

// A copy of the game with its own timers, telling nobody what it does.
struct Trial {
    Timers timers;
    Rules rules;
    Trial(const Rules& r, const Timers& t) : timers(t), rules(r) {
        rules.attach(timers);
        rules.silence();
    }
    Trial(const Trial& other) : Trial(other.rules, other.timers) {}
    Trial& operator=(const Trial&) = delete;

    // Delivers the tick of `t` as of its due instant.
    void deliverOnTime(TimerId t) {
        const Millis at = timers.due(t);
        timers.reschedule(t, at);
        rules.setNow(at);
        rules.tick(t);
    }
};

// Whether the next tick of `t`, delivered on time, would change nothing:
// the same state and screen, and every timer as it was but for the
// countdown of `t` itself.
bool changesNothing(const Rules& rules, const Timers& timers, TimerId t) {
    Trial trial(rules, timers);
    trial.deliverOnTime(t);
    Timers expected = timers;
    expected.reschedule(t, timers.due(t));
    return trial.rules.sameGame(rules) && trial.timers == expected;
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

Scheduler::Scheduler(Clock& clock, Rules& rules, Timers& timers)
    : clock_(clock), rules_(rules), timers_(timers) {}

// Elides every tick that would change nothing and comes, in due order,
// before the first tick due by `until` that changes something, and returns
// that tick. Nothing changes the game before it, so the elided ticks stay
// no-ops all the way.
std::optional<TimerId> Scheduler::skipNoOps(Rules& rules, Timers& timers, Millis until) const {
    bool noOp[kTimerCount] = {};
    for (int k = 0; k < kTimerCount; ++k) {
        const auto t = static_cast<TimerId>(k);
        noOp[k] = timers.ticking(t) && timers.due(t) <= until && changesNothing(rules, timers, t);
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
        const auto t = skipIdleTicks_ ? skipNoOps(rules_, timers_, now) : timers_.firstDue(now);
        if (!t) break;
        deliver(*t, now);
    }
}

// A tick due before the wake-up last asked for woke nobody: it is delivered
// as of its due instant. So is one delivered on time. One that woke the
// platform late counts from its delivery, with no catch-up burst.
void Scheduler::deliver(TimerId t, Millis now) {
    const Millis due = timers_.due(t);
    const bool wokeNobody = skipIdleTicks_ && (!asked_ || due < *asked_);
    const Millis at = wokeNobody || now - due <= kOnTimeSlack ? due : now;
    timers_.reschedule(t, at);
    rules_.setNow(at);
    rules_.tick(t);
}

// The instant of the first tick to come that changes the screen, found by
// playing the ticks ahead on a copy of the game in due order; none when
// every timer left ticking would change nothing.
std::optional<Millis> Scheduler::nextVisibleTick() const {
    Trial trial(rules_, timers_);
    std::optional<Millis> fallback;
    for (int step = 0; step < kLookahead; ++step) {
        const auto t = skipNoOps(trial.rules, trial.timers, Timers::kNever);
        if (!t) return std::nullopt;
        const Millis due = trial.timers.due(*t);
        if (!fallback) fallback = due;
        const Screen before = trial.rules.screen();
        trial.deliverOnTime(*t);
        if (!(trial.rules.screen() == before)) return due;
    }
    return fallback;
}

void Scheduler::rearm() {
    if (frozen() || rules_.screen().ended) {
        asked_.reset();
    } else if (!skipIdleTicks_) {
        const auto t = timers_.firstDue();
        asked_ = t ? std::optional<Millis>(timers_.due(*t)) : std::nullopt;
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
    timers_.postpone(clock_.now() - *frozenAt_);
    frozenAt_.reset();
    rearm();
}

}  // namespace nubbo
