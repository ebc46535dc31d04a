#pragma once

#include <cstdint>
#include <optional>

namespace nubbo {

using Millis = std::int64_t;

// The platform's half of the timers: a monotonic clock and one wake-up.
// The game asks for a wake-up at the earliest instant a timer tick is due
// (or for none) after every event it handles.
class Clock {
  public:
    virtual ~Clock() = default;
    virtual Millis now() const = 0;
    virtual void wakeAt(std::optional<Millis> due) = 0;
};

}  // namespace nubbo
