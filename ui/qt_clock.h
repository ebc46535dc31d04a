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
    explicit QtClock(std::function<void()> onWake);

    Millis now() const override { return onTime_ ? *onTime_ : elapsed_.elapsed(); }
    void wakeAt(std::optional<Millis> due) override;

  private:
    void wake();

    // The system's timers wake us up to a millisecond or so after the due
    // instant; a wake-up that late counts as on time, so that the next tick
    // is scheduled from the due instant and the fall does not drift.
    static constexpr Millis kOnTimeMs = 2;

    QElapsedTimer elapsed_;
    QTimer timer_;
    std::function<void()> onWake_;
    std::optional<Millis> due_;
    std::optional<Millis> onTime_;  // the clock's reading while a wake-up is handled
};

}  // namespace nubbo::ui
