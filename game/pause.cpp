// Game > Pause and Game > Exit. There is no resume command: the next key
// the gate accepts restarts the fall.
#include "rules.h"

namespace nubbo {

void Rules::Pause_Click() {
    timers_.disable(TimerId::Timer1);
    screen_.caption2 = "PAUSE";
    showLabel(Label::Label2, true);
    s_.paused = true;
}

bool Rules::running() const {
    return s_.inGame && timers_.enabled(TimerId::Timer1) && !timers_.enabled(TimerId::Timer4);
}

void Rules::Exit_Click() {
    screen_.ended = true;
}

}  // namespace nubbo
