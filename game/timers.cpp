#include "timers.h"

namespace nubbo {

void Timers::enable(TimerId t, Millis now) {
    Timer& timer = at(t);
    if (timer.enabled) return;
    timer.enabled = true;
    timer.due = now + timer.interval;
}

void Timers::setInterval(TimerId t, std::int32_t ms, Millis now) {
    Timer& timer = at(t);
    if (timer.interval == ms) return;
    timer.interval = ms;
    timer.due = now + ms;
}

void Timers::postpone(Millis delta) {
    for (Timer& timer : timers_) timer.due += delta;
}

}  // namespace nubbo
