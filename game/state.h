#pragma once

#include <cstdint>

namespace nubbo {

using Tile = std::int16_t;

inline constexpr int kRows = 13;     // row 0 at the top
inline constexpr int kCols = 8;      // column 0 at the left
inline constexpr Tile EMPTY = 6;     // a free cell
inline constexpr Tile CLEARING = 7;  // a tile being cleared, only inside a clearing pass
inline constexpr int kUnused = 50;   // no mark in `mark`, an empty slot in `list`

// 209 slots hold one pair per board cell (slot 0 unused); two more keep the
// empty pair that ends the queue inside the table even when all 104 cells
// are queued, since the walk and the search both read the pair after the last.
inline constexpr int kListSize = 209 + 2;

// All state of one game window. Every procedure of the game reads and writes
// it directly; nothing keeps a copy.
struct State {
    Tile board[kRows][kCols];  // [row][column]; the falling piece is written into it

    Tile piece[4] = {0, 0, 0, 0};  // top, middle, bottom; index 3 never used
    int px = 0;                    // the piece's column, 0 to 7
    int py = 0;                    // its top row, 0 to 10
    Tile swap = 0;                 // scratch for a rotation

    int maxrow = 0;
    int maxcol = 0;
    int active = 0;  // key gate: keys are handled only while it is 1
    std::int64_t score = 0;
    std::int32_t speed = 0;  // fall interval in ms
    std::int64_t level = 0;
    std::int64_t nextlevel = 0;  // the score to exceed for the next level
    std::int16_t kinds = 0;      // tile kinds dealt
    int combo = 0;               // clearing passes of the current landing

    // Shared loop counters; no procedure expects them to survive a call.
    int i = 0;
    int j = 0;

    // Shared by the match scan, the clearing and the probes.
    std::int16_t mark[kRows][kCols];
    std::int16_t list[kListSize];
    Tile colour = 0;
    int found = 0;
    int count = 0;
    Tile prev = 0;

    // Guards against keys acting on a game that is not being played: true
    // from New until game over.
    bool inGame = false;
    // Set by Pause, cleared by the key that resumes and by New, so that the
    // end of a hold does not silently resume a paused game.
    bool paused = false;
};

}  // namespace nubbo
