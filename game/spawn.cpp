// Dealing the next piece, and the end of a game when it cannot be dealt.
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
    if (events_) events_->spawned();
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
    if (events_) events_->gameOver();
}

}  // namespace nubbo
