#include "qt_clock.h"

namespace nubbo::ui {

using std::chrono::steady_clock;

QtClock::QtClock(std::function<void()> onWake, std::optional<Instant> origin)
    : origin_(origin.value_or(steady_clock::now())) {
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, std::move(onWake));
}

Millis QtClock::now() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(steady_clock::now() - origin_)
        .count();
}

void QtClock::wakeAt(std::optional<Millis> due) {
    if (!due) {
        timer_.stop();
        return;
    }
    // Round the wait up to the next whole millisecond of the clock, so the
    // wake-up never comes before the tick is due.
    const auto wait = origin_ + std::chrono::milliseconds(*due) - steady_clock::now();
    const auto waitMs = wait.count() <= 0 ? std::chrono::milliseconds(0)
                                          : std::chrono::ceil<std::chrono::milliseconds>(wait);
    timer_.start(waitMs);
}

}  // namespace nubbo::ui
