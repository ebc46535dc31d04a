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

std::optional<TimerId> Timers::takeDue(Millis now) {
    const auto t = firstDue(now);
    if (t) reschedule(*t, now);
    return t;
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
