// The timers' ticks: the fall step and its landing, the key gate, the end of
// a hold; and Game > Pause, which stops the fall until a key.
#include "rules.h"

namespace nubbo {

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

void Rules::onFallTick() {
    events_.tell(&GameEvents::fallStep);
    ++s_.py;
    if (s_.py < kPieceRowBound) {
        screen_.bannerShown = false;  // ends "PAUSE" once play resumes
        if (s_.board[s_.py + 2][s_.px] == EMPTY) {
            s_.board[s_.py - 1][s_.px] = EMPTY;
            writePiece();
        } else {
            settleLanding();  // landed on a tile
        }
    } else {
        --s_.py;  // stood on the bottom row
        settleLanding();
    }
}

void Rules::onKeyGateTick() {
    s_.keysOpen = true;
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

// There is no resume command: the next key the gate accepts restarts the fall.
void Rules::onPause() {
    disable(TimerId::Fall);
    screen_.bannerCaption = "PAUSE";
    screen_.bannerShown = true;
    s_.paused = true;
}

// A game under way, its piece falling or the game in a hold, pauses as Pause
// does there; a game not started, over or already paused is left alone.
void Rules::onFocusLost() {
    if (s_.inGame && !s_.paused) onPause();
}

}  // namespace nubbo
