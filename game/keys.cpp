// The player's control of the falling piece.
#include "rules.h"

namespace nubbo {

void Rules::Form_KeyDown(int KeyCode, int /*Shift: ignored*/) {
    if (!s_.inGame) return;  // before the first New and after game over
    if (s_.active != 1) return;
    timers_.enable(TimerId::Timer1);  // any accepted key restarts the fall: this resumes a pause
    s_.paused = false;

    auto shiftTo = [this](int column) {
        if (s_.board[s_.py][column] != EMPTY || s_.board[s_.py + 1][column] != EMPTY ||
            s_.board[s_.py + 2][column] != EMPTY)
            return;
        s_.active = 0;
        s_.board[s_.py][s_.px] = EMPTY;
        s_.board[s_.py + 1][s_.px] = EMPTY;
        s_.board[s_.py + 2][s_.px] = EMPTY;
        s_.px = column;
        writePiece();
        display(s_.maxrow, s_.maxcol);
    };

    if (s_.px > 0 && KeyCode == kKeyLeft) shiftTo(s_.px - 1);
    if (s_.px < kLastCol && KeyCode == kKeyRight) shiftTo(s_.px + 1);
    if (KeyCode == kKeySpace) {
        // Tiles move up one place; the top one goes to the bottom.
        s_.swap = s_.piece[0];
        s_.piece[0] = s_.piece[1];
        s_.piece[1] = s_.piece[2];
        s_.piece[2] = s_.swap;
        writePiece();
        display(s_.maxrow, s_.maxcol);
    }
    if (KeyCode == kKeyDown) {
        // Closes the key gate even when the piece cannot move; never lands it.
        s_.active = 0;
        if (s_.py + 1 < kPieceRowBound && s_.board[s_.py + 3][s_.px] == EMPTY) {
            ++s_.py;
            s_.board[s_.py - 1][s_.px] = EMPTY;
            writePiece();
        }
        display(s_.maxrow, s_.maxcol);
    }
}

}  // namespace nubbo
