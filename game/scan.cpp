// The match scan after a landing: six sweeps over the board, each noticing
// only the first run of three it meets and clearing it, repeated in cycles
// until a whole cycle finds nothing; then the next piece is dealt.
#include <algorithm>
#include <array>
#include <iterator>

#include "rules.h"

namespace nubbo {

namespace {

// One family of parallel lines. Line n starts at (row0 + n * lineRow,
// col0 + n * lineCol) and steps by (dr, dc) until it leaves the board.
struct Sweep {
    int row0, col0;
    int lineRow, lineCol;
    int lines;
    int dr, dc;
    bool diagonal;  // a diagonal run's three tiles touch only at corners: all are seeds
};

constexpr std::array<Sweep, 6> kSweeps = {{
    {12, 0, -1, 0, 13, 0, +1, false},  // 1: rows, bottom up, left to right
    {12, 0, 0, +1, 8, -1, 0, false},   // 2: columns, left to right, bottom to top
    {2, 0, +1, 0, 11, -1, +1, true},   // 3: rising diagonals from the left edge
    {12, 0, 0, +1, 8, -1, +1, true},   // 4: rising diagonals from the bottom row
    {10, 0, -1, 0, 11, +1, +1, true},  // 5: falling diagonals from the left edge
    {0, 0, 0, +1, 6, +1, +1, true},    // 6: falling diagonals from the top row
}};

// How many cells the line from (r, c) in direction (dr, dc) has on the board.
int lineLength(int r, int c, int dr, int dc) {
    int n = kRows + kCols;
    if (dr < 0) n = std::min(n, r + 1);
    if (dr > 0) n = std::min(n, kRows - r);
    if (dc > 0) n = std::min(n, kCols - c);
    return n;
}

}  // namespace

void Rules::settleLanding() {
    clearRuns();
    dealPiece();
}

void Rules::clearRuns() {
    Scratch& w = scratch_;
    bool foundIn[6] = {};  // which sweeps found a run in this cycle
    s_.combo = 0;
    do {
        w.runLength = 0;
        w.runFound = false;
        for (int n = 0; n < 6; ++n) {
            const Sweep& sw = kSweeps[n];
            std::fill(&w.group[0][0], &w.group[0][0] + kRows * kCols, kUnused);
            std::fill(std::begin(w.queue), std::end(w.queue), kUnused);

            // Locals for the walk: the compiler cannot keep the shared
            // previous tile in a register, since it may alias the board.
            int runLength = w.runLength;
            Tile previous = w.previousTile;
            for (int line = 0; line < sw.lines; ++line) {
                const int r0 = sw.row0 + line * sw.lineRow;
                const int c0 = sw.col0 + line * sw.lineCol;
                previous = s_.board[r0][c0];
                // The first cell is compared with itself; the second cell
                // takes that count back, so `runLength` is the run's length - 1.
                const int n = lineLength(r0, c0, sw.dr, sw.dc);
                for (int r = r0, c = c0, k = 0; k < n; r += sw.dr, c += sw.dc, ++k) {
                    const Tile cell = s_.board[r][c];
                    if (cell == previous && previous < EMPTY) {
                        ++runLength;
                        if (k == 1) --runLength;
                    } else {
                        runLength = 0;
                    }
                    if (runLength > 1 && !w.runFound) {
                        w.runFound = true;
                        w.runKind = previous;
                        const int seeds = sw.diagonal ? 3 : 1;
                        for (int back = 0; back < seeds; ++back)
                            w.group[r - back * sw.dr][c - back * sw.dc] = w.runKind;
                    }
                    previous = cell;
                }
                runLength = 0;
            }
            w.runLength = runLength;
            w.previousTile = previous;

            foundIn[n] = w.runFound;
            if (w.runFound) clearRun();
            w.runLength = 0;
            w.runFound = false;
        }
    } while (foundIn[0] || foundIn[1] || foundIn[2] || foundIn[3] || foundIn[4] || foundIn[5]);
}

}  // namespace nubbo
