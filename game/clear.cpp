// One clearing pass: grows the run's seeds into their side-by-side group,
// clears and scores it, paints, holds the game and collapses the columns.
#include "rules.h"

namespace nubbo {

void Rules::check2() {
    if (s_.found != 1) return;
    ++s_.combo;

    // Seed the queue with the marked cells in reading order, column first.
    int& lastPair = s_.i;  // the slot of the last queued pair's column
    lastPair = -1;
    for (int row = 0; row <= s_.maxrow; ++row)
        for (s_.j = 0; s_.j <= s_.maxcol; ++s_.j)
            if (s_.mark[row][s_.j] == s_.colour) {
                s_.list[lastPair + 2] = s_.j;
                s_.list[lastPair + 3] = row;
                lastPair += 2;
            }

    // Breadth first: the probes append behind the last pair while we walk.
    int p = 1;
    do {
        checkrun(s_.list[p], s_.list[p + 1], s_.colour);
        p += 2;
    } while (s_.list[p] != kUnused);

    for (s_.i = 0; s_.i <= s_.maxrow; ++s_.i)
        for (s_.j = 0; s_.j <= s_.maxcol; ++s_.j)
            if (s_.mark[s_.i][s_.j] == s_.colour) {
                s_.board[s_.i][s_.j] = CLEARING;
                ++s_.score;
            }

    display(s_.maxrow, s_.maxcol);
    if (events_) events_->passPainted();
    startHold();

    // Collapse: each cleared cell is removed from its column and everything
    // above it moves down a row. A row is scanned again after any shift,
    // since the shift may have brought another cleared cell into it.
    bool shifted = false;
    for (s_.i = s_.maxrow; s_.i >= 0;) {
        for (s_.j = s_.maxcol; s_.j >= 0; --s_.j) {
            if (s_.board[s_.i][s_.j] != CLEARING) continue;
            for (int k = s_.i; k >= 1; --k) s_.board[k][s_.j] = s_.board[k - 1][s_.j];
            s_.board[0][s_.j] = EMPTY;
            shifted = true;
        }
        if (shifted)
            shifted = false;
        else
            --s_.i;
    }
}

}  // namespace nubbo
