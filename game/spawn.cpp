// Dealing the next piece, and the end of a game when it cannot be dealt.
#include "rules.h"

namespace nubbo {

void Rules::NEWOBJ() {
    s_.combo = 0;  // a new piece starts a new chain count
    s_.px = kSpawnColumn;
    s_.py = 0;
    const bool free = s_.board[s_.py][kSpawnColumn] == EMPTY &&
                      s_.board[s_.py + 1][kSpawnColumn] == EMPTY &&
                      s_.board[s_.py + 2][kSpawnColumn] == EMPTY;
    if (!free) {
        over();
        return;
    }
    // Three independent draws, top tile first.
    for (s_.i = 0; s_.i <= 2; ++s_.i) s_.piece[s_.i] = static_cast<Tile>(random_.next() * s_.kinds);
    writePiece();
    if (events_) events_->spawned();
}

void Rules::over() {
    timers_.disable(TimerId::Timer3);
    timers_.disable(TimerId::Timer1);
    showLabel(Label::Label1, true);
    timers_.disable(TimerId::Timer4);
    s_.active = 1;
    // Without this a key would restart the fall on the failed spawn's state
    // and write the last piece over the occupied top of the spawn column.
    s_.inGame = false;
    if (events_) events_->gameOver();
}

}  // namespace nubbo
