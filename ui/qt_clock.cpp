#include "qt_clock.h"

#include <chrono>

namespace nubbo::ui {

QtClock::QtClock(std::function<void()> onWake, const QElapsedTimer* origin) {
    if (origin && origin->isValid())
        elapsed_ = *origin;
    else
        elapsed_.start();
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, std::move(onWake));
}

void QtClock::wakeAt(std::optional<Millis> due) {
    if (!due) {
        timer_.stop();
        return;
    }
    // Round the wait up to the next whole millisecond of the clock, so the
    // wake-up never comes before the tick is due.
    const qint64 waitNs = *due * 1000000 - elapsed_.nsecsElapsed();
    const qint64 waitMs = waitNs <= 0 ? 0 : (waitNs + 999999) / 1000000;
    timer_.start(std::chrono::milliseconds(waitMs));
}

}  // namespace nubbo::ui
