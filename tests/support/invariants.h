#pragma once

// Checks of what must hold on the board after every landing, written apart
// from the game's own scan so that the two can disagree.
#include <string>

#include "state.h"

namespace nubbo::test {

// The first run of three equal tiles in any of the four directions, as
// "row,col dr,dc", or "" when there is none.
inline std::string findRun(const Board& b) {
    const int dirs[4][2] = {{0, 1}, {1, 0}, {1, 1}, {1, -1}};
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kCols; ++c) {
            const Tile t = b[r][c];
            if (t < 0 || t >= EMPTY) continue;
            for (const auto& d : dirs) {
                const int r2 = r + 2 * d[0], c2 = c + 2 * d[1];
                if (r2 >= kRows || c2 < 0 || c2 >= kCols) continue;
                if (b[r + d[0]][c + d[1]] == t && b[r2][c2] == t)
                    return std::to_string(r) + "," + std::to_string(c) + " " +
                           std::to_string(d[0]) + "," + std::to_string(d[1]);
            }
        }
    return "";
}

// A column whose tiles do not stand in one unbroken stack on the floor.
inline int floatingColumn(const Board& b) {
    for (int c = 0; c < kCols; ++c) {
        bool gap = false;
        for (int r = kRows - 1; r >= 0; --r) {
            if (b[r][c] == EMPTY)
                gap = true;
            else if (gap)
                return c;
        }
    }
    return -1;
}

inline bool onlyTilesAndEmpty(const Board& b) {
    for (const auto& row : b)
        for (Tile t : row)
            if (t < 0 || t > EMPTY) return false;
    return true;
}

}  // namespace nubbo::test
