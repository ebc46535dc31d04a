#pragma once

#include "constants.h"

namespace nubbo {

// The game: everything that carries from one event to the next. Every
// procedure of the rules reads and writes it directly.
struct State {
    Tile board[kRows][kCols];  // the playfield [row][column], the falling piece included

    Tile piece[3] = {0, 0, 0};  // the falling tiles, top to bottom
    int px = 0;                 // the piece's column, 0 to 7
    int py = 0;                 // the piece's top row, 0 to 10

    int lastRow = 0;  // the loop bounds of the board, set by load and New
    int lastCol = 0;
    // The key gate: a move closes it, the gate timer reopens it, so that a
    // held key moves the piece at most once a gate interval.
    bool keysOpen = false;
    std::int64_t score = 0;
    std::int32_t fallInterval = 0;  // what each repaint sets the fall timer to
    std::int64_t level = 0;
    std::int64_t nextLevelScore = 0;  // the score to pass for the next level
    std::int16_t kinds = 0;           // how many tile kinds are dealt
    int combo = 0;                    // clearing passes since the piece landed

    // Guards against keys acting on a game that is not being played: true
    // from New until game over.
    bool inGame = false;
    // Set by Pause, cleared by the key that resumes and by New, so that the
    // end of a hold does not silently resume a paused game.
    bool paused = false;

    bool operator==(const State&) const = default;
};

// The work space of one event: the shared loop counters and the scan's
// marks and queue. Whatever fills it reads it within the same event, so
// nothing in it is part of the game.
struct Scratch {
    // Loop counters over rows and columns that the procedures share. The
    // clearing pass also keeps the queue's write position in `i` and its
    // search position in `j` while the probes run (see probes.cpp).
    int i = 0;
    int j = 0;

    std::int16_t group[kRows][kCols];  // the group being cleared, kUnused elsewhere
    std::int16_t queue[kListSize];     // cells to probe, (column, row) pairs from slot 1
    Tile runKind = 0;                  // the kind of the run being cleared
    bool runFound = false;             // the current sweep met its run
    int runLength = 0;                 // the sweep's run length so far, minus one
    Tile previousTile = 0;             // the tile before the sweep's current cell

    Scratch();
};

}  // namespace nubbo
