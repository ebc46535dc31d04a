// The player's control of the falling piece.
#include "rules.h"

namespace nubbo {

void Rules::onKey(Key key) {
    if (!s_.inGame) return;  // before the first New and after game over
    if (!s_.keysOpen) return;
    enable(TimerId::Fall);  // any accepted key restarts the fall: this resumes a pause
    s_.paused = false;

    if (s_.px > 0 && key == Key::Left) shiftTo(s_.px - 1);
    if (s_.px < kLastCol && key == Key::Right) shiftTo(s_.px + 1);
    if (key == Key::Rotate) {
        // Tiles move up one place; the top one goes to the bottom.
        const Tile top = s_.piece[0];
        s_.piece[0] = s_.piece[1];
        s_.piece[1] = s_.piece[2];
        s_.piece[2] = top;
        writePiece();
        paintAndScore();
    }
    if (key == Key::Down) {
        // Closes the key gate even when the piece cannot move; never lands it.
        s_.keysOpen = false;
        if (s_.py + 1 < kPieceRowBound && s_.board[s_.py + 3][s_.px] == EMPTY) {
            ++s_.py;
            s_.board[s_.py - 1][s_.px] = EMPTY;
            writePiece();
        }
        paintAndScore();
    }
}

// Moves the piece one column sideways, if all three cells there are free.
void Rules::shiftTo(int column) {
    if (s_.board[s_.py][column] != EMPTY || s_.board[s_.py + 1][column] != EMPTY ||
        s_.board[s_.py + 2][column] != EMPTY)
        return;
    s_.keysOpen = false;
    s_.board[s_.py][s_.px] = EMPTY;
    s_.board[s_.py + 1][s_.px] = EMPTY;
    s_.board[s_.py + 2][s_.px] = EMPTY;
    s_.px = column;
    writePiece();
    paintAndScore();
}

}  // namespace nubbo
