// The key gate, the periodic repaint, and the end of a hold.
#include "game.h"

namespace nubbo {

void Game::Timer2_Timer() {
    s_.active = 1;
}

void Game::Timer3_Timer() {
    display(s_.maxrow, s_.maxcol);
}

void Game::Timer4_Timer() {
    enable(TimerId::Timer3);
    enable(TimerId::Timer2);
    // A game paused during the hold stays paused, "PAUSE" showing, until a
    // key resumes it.
    if (!s_.paused) {
        enable(TimerId::Timer1);
        window_.showLabel(Label::Label2, false);
    }
    disable(TimerId::Timer4);
}

void Game::startHold() {
    disable(TimerId::Timer1);
    disable(TimerId::Timer2);
    disable(TimerId::Timer3);
    enable(TimerId::Timer4);
}

}  // namespace nubbo
