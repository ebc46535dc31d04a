// Game > Pause and Game > Exit. There is no resume command: the next key
// the gate accepts restarts the fall.
#include "game.h"

namespace nubbo {

void Game::Pause_Click() {
    disable(TimerId::Timer1);
    window_.setLabel2Caption("PAUSE");
    window_.showLabel(Label::Label2, true);
    s_.paused = true;
}

bool Game::running() const {
    return s_.inGame && timers_.enabled(TimerId::Timer1) && !timers_.enabled(TimerId::Timer4);
}

void Game::Exit_Click() {
    window_.endProgram();
}

}  // namespace nubbo
