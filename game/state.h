#pragma once

#include "board.h"
#include "constants.h"

namespace nubbo {

// The game: everything that carries from one event to the next.
struct State {
    Board board;  // the playfield, the falling piece included

    Tile piece[3] = {0, 0, 0};  // the falling tiles, top to bottom
    int px = 0;                 // the piece's column, 0 to 7
    int py = 0;                 // the piece's top row, 0 to 10

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

}  // namespace nubbo
