#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <functional>

#include "clock.h"

namespace nubbo::ui {

// The game's clock on Qt: a monotonic clock and one precise single-shot
// timer, re-armed for the next due tick after every event. Nothing polls.
class QtClock : public Clock {
  public:
    // `origin`, if given: the instant the clock counts from (the program's
    // start), else its construction.
    explicit QtClock(std::function<void()> onWake, const QElapsedTimer* origin = nullptr);

    Millis now() const override { return elapsed_.elapsed(); }
    void wakeAt(std::optional<Millis> due) override;

  private:
    QElapsedTimer elapsed_;
    QTimer timer_;
};

}  // namespace nubbo::ui
