#pragma once

#include <QTimer>
#include <chrono>
#include <functional>
#include <optional>

#include "clock.h"

namespace nubbo::ui {

// The game's clock on Qt: a monotonic clock and one precise single-shot
// timer, re-armed for the next due tick after every event. Nothing polls.
class QtClock : public Clock {
  public:
    using Instant = std::chrono::steady_clock::time_point;

    // `origin`, if given: the instant the clock counts from (the program's
    // start), else its construction.
    explicit QtClock(std::function<void()> onWake, std::optional<Instant> origin = std::nullopt);

    Millis now() const override;
    void wakeAt(std::optional<Millis> due) override;

  private:
    Instant origin_;
    QTimer timer_;
};

}  // namespace nubbo::ui
