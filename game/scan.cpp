// The match scan after a landing: six sweeps over the board, each noticing
// only the first run of three it meets, repeated in cycles until a whole
// cycle finds nothing; then the next piece is dealt.
#include <array>

#include "game.h"

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

bool onBoard(int r, int c) {
    return r >= 0 && r < kRows && c >= 0 && c < kCols;
}

}  // namespace

void Game::check() {
    int flag[6] = {};  // which sweeps found a run in this cycle
    s_.combo = 0;
    do {
        s_.count = 0;
        s_.found = 0;
        for (int n = 0; n < 6; ++n) {
            const Sweep& sw = kSweeps[n];
            for (auto& row : s_.mark)
                for (auto& m : row) m = kUnused;
            for (int& slot : s_.list) slot = kUnused;

            for (int line = 0; line < sw.lines; ++line) {
                const int r0 = sw.row0 + line * sw.lineRow;
                const int c0 = sw.col0 + line * sw.lineCol;
                s_.prev = s_.board[r0][c0];
                // The first cell is compared with itself; the second cell
                // takes that count back, so `count` is the run length - 1.
                for (int r = r0, c = c0, k = 0; onBoard(r, c); r += sw.dr, c += sw.dc, ++k) {
                    const Tile cell = s_.board[r][c];
                    if (cell == s_.prev && s_.prev < EMPTY) {
                        ++s_.count;
                        if (k == 1) --s_.count;
                    } else {
                        s_.count = 0;
                    }
                    if (s_.count > 1 && s_.found == 0) {
                        s_.found = 1;
                        s_.colour = s_.prev;
                        const int seeds = sw.diagonal ? 3 : 1;
                        for (int back = 0; back < seeds; ++back)
                            s_.mark[r - back * sw.dr][c - back * sw.dc] = s_.colour;
                    }
                    s_.prev = cell;
                }
                s_.count = 0;
            }

            flag[n] = s_.found;
            if (s_.found == 1) check2();
            s_.count = 0;
            s_.found = 0;
        }
    } while (flag[0] || flag[1] || flag[2] || flag[3] || flag[4] || flag[5]);
    NEWOBJ();
}

}  // namespace nubbo
