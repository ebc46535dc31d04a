// The falling piece: dealt, moved by the player's keys, written on the
// board; and the end of a game when no piece can be dealt.
#include "rules.h"

namespace nubbo {

void Rules::dealPiece() {
    s_.combo = 0;  // a new piece starts a new chain count
    s_.px = kSpawnColumn;
    s_.py = 0;
    const bool free = s_.board[s_.py][kSpawnColumn] == EMPTY &&
                      s_.board[s_.py + 1][kSpawnColumn] == EMPTY &&
                      s_.board[s_.py + 2][kSpawnColumn] == EMPTY;
    if (!free) {
        endGame();
        return;
    }
    // Three independent draws, top tile first.
    for (Tile& tile : s_.piece) tile = static_cast<Tile>(random_.next() * s_.kinds);
    writePiece();
    events_.tell(&GameEvents::spawned);
}

void Rules::endGame() {
    disable(TimerId::Repaint);
    disable(TimerId::Fall);
    screen_.gameOverShown = true;
    disable(TimerId::Hold);
    s_.keysOpen = true;
    // Without this a key would restart the fall on the failed spawn's state
    // and write the last piece over the occupied top of the spawn column.
    s_.inGame = false;
    events_.tell(&GameEvents::gameOver);
}

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

void Rules::writePiece() {
    s_.board[s_.py][s_.px] = s_.piece[0];
    s_.board[s_.py + 1][s_.px] = s_.piece[1];
    s_.board[s_.py + 2][s_.px] = s_.piece[2];
}

}  // namespace nubbo
