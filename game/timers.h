#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <optional>

#include "clock.h"

namespace nubbo {

enum class TimerId { Timer1 = 0, Timer2, Timer3, Timer4 };
inline constexpr int kTimerCount = 4;

// The four interval timers of the window, as a pure model: each has an
// enabled flag, an interval and the instant its next tick falls due.
//
// Enabling an enabled timer, or setting the interval it already has, leaves
// its countdown alone: the ordinary repaint re-asserts both every 10 ms, and
// a fall timer restarted that often would never tick.
class Timers {
  public:
    struct Timer {
        bool enabled = false;
        std::int32_t interval = 0;
        Millis due = 0;  // meaningful only while enabled
    };

    void enable(TimerId t, Millis now);
    void disable(TimerId t);
    void setEnabled(TimerId t, bool on, Millis now) { on ? enable(t, now) : disable(t); }
    void setInterval(TimerId t, std::int32_t ms, Millis now);

    bool enabled(TimerId t) const { return at(t).enabled; }
    std::int32_t interval(TimerId t) const { return at(t).interval; }
    Millis due(TimerId t) const { return at(t).due; }

    // The timer whose tick is due at or before `now`: the earliest due first,
    // Timer1 before Timer4 on a tie. It is rescheduled one interval after
    // `now`, so a late tick is delivered once, with no catch-up burst.
    std::optional<TimerId> takeDue(Millis now);
    // The same in two steps: the timer due first by `now` (among those that
    // `counts`, if given), and its next due instant one interval after `from`.
    template <typename Pred = bool (*)(TimerId)>
    std::optional<TimerId> firstDue(Millis now, Pred counts = all) const;
    void reschedule(TimerId t, Millis from) { at(t).due = from + at(t).interval; }

    // The earliest instant any ticking timer (that `counts`) falls due.
    template <typename Pred = bool (*)(TimerId)>
    std::optional<Millis> nextDue(Pred counts = all) const {
        const auto t = firstDue(kNever, counts);
        return t ? std::optional<Millis>(due(*t)) : std::nullopt;
    }

    // Moves every countdown on by `delta`, as if that time had not passed.
    void postpone(Millis delta);

    // Moves the countdown of `t` on by whole intervals, as if its ticks due
    // before `until` (and at `until` too, when `inclusive`) had been
    // delivered on time.
    void skipTicks(TimerId t, Millis until, bool inclusive);

  private:
    static constexpr Millis kNever = std::numeric_limits<Millis>::max();
    static bool all(TimerId) { return true; }
    Timer& at(TimerId t) { return timers_[static_cast<int>(t)]; }
    const Timer& at(TimerId t) const { return timers_[static_cast<int>(t)]; }
    static bool ticks(const Timer& t) { return t.enabled && t.interval > 0; }

    std::array<Timer, kTimerCount> timers_{};
};

template <typename Pred>
std::optional<TimerId> Timers::firstDue(Millis now, Pred counts) const {
    std::optional<TimerId> best;
    for (int k = 0; k < kTimerCount; ++k) {
        const auto t = static_cast<TimerId>(k);
        if (!ticks(at(t)) || due(t) > now || !counts(t)) continue;
        if (!best || due(t) < due(*best)) best = t;  // a tie keeps the lower number
    }
    return best;
}

}  // namespace nubbo
