// The fall step: one row per tick of Timer1, and the landing.
#include "game.h"

namespace nubbo {

namespace {
// The piece may move only while its new top row is above this, so that its
// bottom tile stays on the board.
constexpr int kRowBound = 11;
}  // namespace

void Game::Timer1_Timer() {
    if (events_) events_->fallStep();
    ++s_.py;
    if (s_.py < kRowBound) {
        window_.showLabel(Label::Label2, false);  // ends "PAUSE" once play resumes
        if (s_.board[s_.py + 2][s_.px] == EMPTY) {
            s_.board[s_.py - 1][s_.px] = EMPTY;
            writePiece();
        } else {
            check();  // landed on a tile
        }
    } else {
        --s_.py;  // stood on the bottom row
        check();
    }
}

}  // namespace nubbo
