// One clearing pass: grows the run's seeds into their side-by-side group,
// clears and scores it, paints, holds the game and collapses the columns.
#include "rules.h"

namespace nubbo {

void Rules::clearRun() {
    if (!scratch_.runFound) return;
    ++s_.combo;
    queueRunCells();
    growGroup();
    removeGroup();
    collapseColumns();
}

// The run's marked cells go first into the queue, in reading order, each as
// a (column, row) pair.
void Rules::queueRunCells() {
    Scratch& w = scratch_;
    int& lastPair = w.i;  // the slot of the last queued pair's column; the probes go on from it
    lastPair = -1;
    for (int row = 0; row <= s_.lastRow; ++row)
        for (w.j = 0; w.j <= s_.lastCol; ++w.j)
            if (w.group[row][w.j] == w.runKind) {
                w.queue[lastPair + 2] = w.j;
                w.queue[lastPair + 3] = row;
                lastPair += 2;
            }
}

// Breadth first: the probes append behind the last pair while we walk.
void Rules::growGroup() {
    const Scratch& w = scratch_;
    int p = 1;
    do {
        probeNeighbours(w.queue[p + 1], w.queue[p], w.runKind);
        p += 2;
    } while (w.queue[p] != kUnused);
}

// Every cell of the group turns into the clearing picture and scores a
// point; the pass is shown, and the game holds still while it shows.
void Rules::removeGroup() {
    Scratch& w = scratch_;
    for (w.i = 0; w.i <= s_.lastRow; ++w.i)
        for (w.j = 0; w.j <= s_.lastCol; ++w.j)
            if (w.group[w.i][w.j] == w.runKind) {
                s_.board[w.i][w.j] = CLEARING;
                ++s_.score;
            }
    paintAndScore();
    if (events_) events_->passPainted();
    startHold();
}

// Each cleared cell is removed from its column and everything above it moves
// down a row. A row is scanned again after any shift, since the shift may
// have brought another cleared cell into it.
void Rules::collapseColumns() {
    int& i = scratch_.i;
    int& j = scratch_.j;
    bool shifted = false;
    for (i = s_.lastRow; i >= 0;) {
        for (j = s_.lastCol; j >= 0; --j) {
            if (s_.board[i][j] != CLEARING) continue;
            for (int k = i; k >= 1; --k) s_.board[k][j] = s_.board[k - 1][j];
            s_.board[0][j] = EMPTY;
            shifted = true;
        }
        if (shifted)
            shifted = false;
        else
            --i;
    }
}

}  // namespace nubbo
