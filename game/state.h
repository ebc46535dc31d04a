#pragma once

#include "constants.h"

namespace nubbo {

// All state of the game window. Every procedure of the rules reads and
// writes it directly; nothing keeps a copy.
struct State {
    Tile board[kRows][kCols];  // `board`: the playfield [row][column], falling piece included

    Tile piece[4] = {0, 0, 0, 0};  // `piece`: the falling tiles, top to bottom; [3] never used
    int px = 0;                    // `px`: the piece's column, 0 to 7
    int py = 0;                    // `py`: the piece's top row, 0 to 10
    Tile swap = 0;                 // `swap`: scratch for a rotation

    int maxrow = 0;              // `maxrow`: the last row index, a loop bound
    int maxcol = 0;              // `maxcol`: the last column index, a loop bound
    int active = 0;              // `active`: the key gate; keys act only while it is 1
    std::int64_t score = 0;      // `score`
    std::int32_t speed = 0;      // `speed`: the fall interval that each repaint re-asserts
    std::int64_t level = 0;      // `level`
    std::int64_t nextlevel = 0;  // `nextlevel`: the score to exceed for the next level
    std::int16_t kinds = 0;      // `kinds`: how many tile kinds are dealt
    int combo = 0;               // `combo`: clearing passes of the current landing

    int i = 0;  // `i`: shared loop counter over rows; also the clearing queue's write position
    int j = 0;  // `j`: shared loop counter over columns; also the queue search's position

    std::int16_t mark[kRows][kCols];  // `mark`: the group being cleared, kUnused elsewhere
    std::int16_t list[kListSize];     // `list`: the clearing queue, (column, row) pairs from 1
    Tile colour = 0;                  // `colour`: the kind of the run being cleared
    int found = 0;                    // `found`: 1 once the current sweep met its run
    int count = 0;                    // `count`: the sweep's run length so far, minus one
    Tile prev = 0;                    // `prev`: the tile before the sweep's current cell

    // Guards against keys acting on a game that is not being played: true
    // from New until game over.
    bool inGame = false;
    // Set by Pause, cleared by the key that resumes and by New, so that the
    // end of a hold does not silently resume a paused game.
    bool paused = false;

    bool operator==(const State&) const = default;
};

}  // namespace nubbo
