// The fall step: one row per tick of the fall timer, and the landing.
#include "rules.h"

namespace nubbo {

void Rules::onFallTick() {
    if (events_) events_->fallStep();
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

void Rules::writePiece() {
    s_.board[s_.py][s_.px] = s_.piece[0];
    s_.board[s_.py + 1][s_.px] = s_.piece[1];
    s_.board[s_.py + 2][s_.px] = s_.piece[2];
}

}  // namespace nubbo
