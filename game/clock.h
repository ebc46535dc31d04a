#pragma once

#include <optional>

#include "constants.h"

namespace nubbo {

// The platform's half of the timers: a monotonic clock in milliseconds and
// one wake-up. After every event it handles, the game asks for a wake-up at
// the instant of the next tick that matters, or for none.
class Clock {
  public:
    virtual ~Clock() = default;
    virtual Millis now() const = 0;
    virtual void wakeAt(std::optional<Millis> due) = 0;
};

}  // namespace nubbo
