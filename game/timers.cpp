#include "timers.h"

namespace nubbo {

void Timers::enable(TimerId t, Millis now) {
    Timer& timer = at(t);
    if (timer.enabled) return;
    timer.enabled = true;
    timer.due = now + timer.interval;
}

void Timers::disable(TimerId t) {
    at(t).enabled = false;
}

void Timers::setInterval(TimerId t, std::int32_t ms, Millis now) {
    Timer& timer = at(t);
    if (timer.interval == ms) return;
    timer.interval = ms;
    timer.due = now + ms;
}

std::optional<TimerId> Timers::firstDue(Millis now) const {
    int best = -1;
    for (int k = 0; k < kTimerCount; ++k) {
        const Timer& timer = timers_[k];
        if (!ticks(timer) || timer.due > now) continue;
        if (best < 0 || timer.due < timers_[best].due) best = k;
    }
    if (best < 0) return std::nullopt;
    return static_cast<TimerId>(best);
}

std::optional<TimerId> Timers::takeDue(Millis now) {
    const auto t = firstDue(now);
    if (t) reschedule(*t, now);
    return t;
}

std::optional<Millis> Timers::nextDue() const {
    std::optional<Millis> next;
    for (const Timer& timer : timers_) {
        if (ticks(timer) && (!next || timer.due < *next)) next = timer.due;
    }
    return next;
}

void Timers::postpone(Millis delta) {
    for (Timer& timer : timers_) timer.due += delta;
}

void Timers::skipTicks(TimerId t, Millis until, bool inclusive) {
    Timer& timer = at(t);
    if (!ticks(timer) || timer.due > until || (timer.due == until && !inclusive)) return;
    const Millis behind = until - timer.due;
    Millis steps = behind / timer.interval + 1;
    if (!inclusive && behind % timer.interval == 0) --steps;  // stop on `until` itself
    timer.due += steps * timer.interval;
}

}  // namespace nubbo
