#pragma once

#include "clock.h"
#include "game.h"

namespace nubbo {

// A clock that moves only when told to. The simulator and the tests run the
// game on it, so nothing depends on wall time.
class VirtualClock : public Clock {
  public:
    Millis now() const override { return now_; }
    void wakeAt(std::optional<Millis> due) override { wake_ = due; }
    std::optional<Millis> wakeRequested() const { return wake_; }

    // Moves the clock on by `ms`, waking the game at every instant it asked
    // for on the way, as a platform would, so ticks arrive one at a time in
    // due order.
    void pass(Game& game, Millis ms) {
        const Millis target = now_ + ms;
        while (wake_ && *wake_ <= target) {
            if (*wake_ > now_) now_ = *wake_;
            game.wake();
        }
        now_ = target;
    }

    // The same, with a last wake-up at the end that delivers the ticks that
    // woke nobody, so that the game stands as it is at the new time.
    void advance(Game& game, Millis ms) {
        pass(game, ms);
        game.wake();
    }

  private:
    Millis now_ = 0;
    std::optional<Millis> wake_;
};

}  // namespace nubbo
