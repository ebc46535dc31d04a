// The key gate, the periodic repaint, and the end of a hold.
#include "rules.h"

namespace nubbo {

void Rules::Timer2_Timer() {
    s_.active = 1;
}

void Rules::Timer3_Timer() {
    display(s_.maxrow, s_.maxcol);
}

void Rules::Timer4_Timer() {
    timers_.enable(TimerId::Timer3);
    timers_.enable(TimerId::Timer2);
    // A game paused during the hold stays paused, "PAUSE" showing, until a
    // key resumes it.
    if (!s_.paused) {
        timers_.enable(TimerId::Timer1);
        showLabel(Label::Label2, false);
    }
    timers_.disable(TimerId::Timer4);
}

// A banner or a clearing pass holds the game still for one tick of Timer4.
void Rules::startHold() {
    timers_.disable(TimerId::Timer1);
    timers_.disable(TimerId::Timer2);
    timers_.disable(TimerId::Timer3);
    timers_.enable(TimerId::Timer4);
}

void Rules::tick(TimerId t) {
    switch (t) {
        case TimerId::Timer1:
            return Timer1_Timer();
        case TimerId::Timer2:
            return Timer2_Timer();
        case TimerId::Timer3:
            return Timer3_Timer();
        case TimerId::Timer4:
            return Timer4_Timer();
    }
}

}  // namespace nubbo
