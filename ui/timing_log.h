#pragma once

// Timestamps gathered only in the benchmark's timing build (NUBBO_TIMING):
// the intervals between fall steps of one piece, and how long a key press
// takes from its arrival to the moved piece painted and its repaint asked for.
#include <QElapsedTimer>
#include <vector>

#include "game.h"

namespace nubbo::ui {

class TimingLog : public GameEvents {
  public:
    TimingLog() { clock_.start(); }

    void fallStep() override {
        const qint64 now = clock_.nsecsElapsed();
        if (lastStep_ >= 0) stepIntervals_.push_back(now - lastStep_);
        lastStep_ = now;
    }
    // A new piece falls from a fresh countdown: no interval spans a landing.
    void spawned() override { lastStep_ = -1; }
    void gameOver() override { lastStep_ = -1; }

    qint64 now() const { return clock_.nsecsElapsed(); }
    void keyHandled(qint64 since) { keyLatencies_.push_back(now() - since); }

    // Prints the figures on standard error, one line each.
    void report() const;

  private:
    QElapsedTimer clock_;
    qint64 lastStep_ = -1;
    std::vector<qint64> stepIntervals_;
    std::vector<qint64> keyLatencies_;
};

}  // namespace nubbo::ui
