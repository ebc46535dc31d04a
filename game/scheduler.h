#pragma once

#include <optional>

#include "clock.h"
#include "rules.h"
#include "timers.h"

namespace nubbo {

// Runs the rules in time: delivers the ticks of the game's four timers in due
// order before every event, stands still while the help box is open, and
// wakes the platform only for ticks that change what the window shows.
//
// Which ticks matter is found by running them on a copy of the game, never
// by restating what the handlers do:
// - a tick that changes nothing at all (state, screen, timers) is skipped:
//   its countdown moves on as if it had been delivered on time;
// - a tick that changes the state but not the screen (the key gate
//   reopening) wakes nobody; it is delivered, as of its due instant, before
//   the next event or wake-up, which always come before anyone can see it;
// - the platform is woken for the first tick, played ahead on a copy, that
//   changes the screen.
// So the game and its screen are exactly what delivering every tick on time
// would give, with or without skipping.
class Scheduler {
  public:
    Scheduler(Clock& clock, Rules& rules);

    // One event of the platform: the ticks due before it first, then the
    // handler, then the wake-up for the next tick that matters.
    template <typename Handler>
    void handle(Handler handler) {
        if (frozen()) return;
        const Millis now = clock_.now();
        deliverDue(now);
        rules_.setNow(now);
        handler();
        rearm();
    }

    // An event that belongs to an earlier instant than the ticks now due
    // (the window's load, part of its creation): the handler first, as of
    // the rules' own time, then the ticks due, then the wake-up.
    template <typename Handler>
    void handleBeforeDue(Handler handler) {
        if (frozen()) return;
        handler();
        const Millis now = clock_.now();
        deliverDue(now);
        rules_.setNow(now);
        rearm();
    }

    void freeze();  // the help box opened
    void thaw();    // ... and closed: the time it was open counts for nothing
    bool frozen() const { return frozenAt_.has_value(); }
    void setSkipIdleTicks(bool on) { skipIdleTicks_ = on; }
    void stop() { rearm(); }  // the program ended: no more wake-ups

  private:
    void deliverDue(Millis now);
    void deliver(TimerId t, Millis now);
    std::optional<TimerId> skipNoOps(Rules& rules, Millis until) const;
    std::optional<Millis> nextVisibleTick() const;
    void rearm();

    Clock& clock_;
    Rules& rules_;
    std::optional<Millis> frozenAt_;
    std::optional<Millis> asked_;  // the wake-up last asked of the clock
    bool skipIdleTicks_ = true;
};

}  // namespace nubbo
