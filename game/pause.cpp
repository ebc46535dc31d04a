// Game > Pause and Game > Exit. There is no resume command: the next key
// the gate accepts restarts the fall.
#include "rules.h"

namespace nubbo {

void Rules::onPause() {
    disable(TimerId::Fall);
    screen_.bannerCaption = "PAUSE";
    screen_.bannerShown = true;
    s_.paused = true;
}

bool Rules::running() const {
    return s_.inGame && timers_.enabled(TimerId::Fall) && !timers_.enabled(TimerId::Hold);
}

void Rules::onExit() {
    screen_.ended = true;
}

}  // namespace nubbo
