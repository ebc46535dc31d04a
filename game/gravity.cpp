// The fall step: one row per tick of Timer1, and the landing.
#include "rules.h"

namespace nubbo {

void Rules::Timer1_Timer() {
    if (events_) events_->fallStep();
    ++s_.py;
    if (s_.py < kPieceRowBound) {
        showLabel(Label::Label2, false);  // ends "PAUSE" once play resumes
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

void Rules::writePiece() {
    s_.board[s_.py][s_.px] = s_.piece[0];
    s_.board[s_.py + 1][s_.px] = s_.piece[1];
    s_.board[s_.py + 2][s_.px] = s_.piece[2];
}

}  // namespace nubbo
