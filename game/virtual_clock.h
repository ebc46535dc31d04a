#pragma once

#include "clock.h"

namespace nubbo {

class Game;

// A clock that moves only when told to. Tests and the simulator run the
// game on it, so nothing depends on wall time.
class VirtualClock : public Clock {
  public:
    Millis now() const override { return now_; }
    void wakeAt(std::optional<Millis> due) override { wake_ = due; }
    std::optional<Millis> wakeRequested() const { return wake_; }

    // Moves the clock on by `ms`, waking the game at every instant a tick
    // falls due on the way, so ticks arrive one at a time in due order.
    void advance(Game& game, Millis ms);

  private:
    Millis now_ = 0;
    std::optional<Millis> wake_;
};

}  // namespace nubbo
