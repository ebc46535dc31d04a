#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <optional>

#include "constants.h"

namespace nubbo {

enum class TimerId {
    Fall = 0,  // the fall step, every fall interval
    KeyGate,   // reopens the key gate, every 10 ms
    Repaint,   // repaints the whole board, every 10 ms
    Hold,      // ends a banner's or a clearing pass's hold after 1000 ms
};
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
        bool operator==(const Timer&) const = default;
    };

    void enable(TimerId t, Millis now);
    void disable(TimerId t) { at(t).enabled = false; }
    void setInterval(TimerId t, std::int32_t ms, Millis now);

    bool enabled(TimerId t) const { return at(t).enabled; }
    std::int32_t interval(TimerId t) const { return at(t).interval; }
    Millis due(TimerId t) const { return at(t).due; }
    // Enabled with a positive interval: a timer whose ticks come.
    bool ticking(TimerId t) const { return enabled(t) && interval(t) > 0; }

    // The ticking timer due first by `now` (among those that `counts`, if
    // given): the earliest due first, Fall before Hold on a tie.
    template <typename Pred = bool (*)(TimerId)>
    std::optional<TimerId> firstDue(Millis now = kNever, Pred counts = all) const;
    // Its next tick falls due one interval after `from`.
    void reschedule(TimerId t, Millis from) { at(t).due = from + at(t).interval; }

    // Moves every countdown on by `delta`, as if that time had not passed.
    void postpone(Millis delta);

    bool operator==(const Timers&) const = default;

    static constexpr Millis kNever = std::numeric_limits<Millis>::max();

  private:
    static bool all(TimerId) { return true; }
    Timer& at(TimerId t) { return timers_[static_cast<int>(t)]; }
    const Timer& at(TimerId t) const { return timers_[static_cast<int>(t)]; }

    std::array<Timer, kTimerCount> timers_{};
};

template <typename Pred>
std::optional<TimerId> Timers::firstDue(Millis now, Pred counts) const {
    std::optional<TimerId> best;
    for (int k = 0; k < kTimerCount; ++k) {
        const auto t = static_cast<TimerId>(k);
        if (!ticking(t) || due(t) > now || !counts(t)) continue;
        if (!best || due(t) < due(*best)) best = t;  // a tie keeps the lower number
    }
    return best;
}

}  // namespace nubbo
