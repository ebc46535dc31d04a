// The key gate, the periodic repaint, and the end of a hold.
#include "rules.h"

namespace nubbo {

void Rules::onKeyGateTick() {
    s_.keysOpen = true;
}

void Rules::onRepaintTick() {
    paintAndScore();
}

void Rules::onHoldEnd() {
    enable(TimerId::Repaint);
    enable(TimerId::KeyGate);
    // A game paused during the hold stays paused, "PAUSE" showing, until a
    // key resumes it.
    if (!s_.paused) {
        enable(TimerId::Fall);
        screen_.bannerShown = false;
    }
    disable(TimerId::Hold);
}

// A banner or a clearing pass holds the game still for one tick of the hold
// timer.
void Rules::startHold() {
    disable(TimerId::Fall);
    disable(TimerId::KeyGate);
    disable(TimerId::Repaint);
    enable(TimerId::Hold);
}

void Rules::onTick(TimerId t) {
    switch (t) {
        case TimerId::Fall:
            return onFallTick();
        case TimerId::KeyGate:
            return onKeyGateTick();
        case TimerId::Repaint:
            return onRepaintTick();
        case TimerId::Hold:
            return onHoldEnd();
    }
}

}  // namespace nubbo
