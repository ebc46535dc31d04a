#pragma once

// The matching, as pure functions of a board: the run a sweep finds, the
// group that run clears, and (Board::collapseCleared) what stands after.
#include <array>
#include <optional>

#include "board.h"

namespace nubbo {

// A run is this many tiles of one kind, one after another on a line.
inline constexpr int kRunLength = 3;

// What a sweep finds: the kind and the cells of the first run it meets, in
// the order it met them. A longer line of one kind is cut at the first
// kRunLength cells, so a fourth tile on a diagonal, which touches the
// others only at a corner, stays on the board.
struct Run {
    Tile kind = 0;
    std::array<Cell, kRunLength> cells{};
    bool operator==(const Run&) const = default;
};

// One family of parallel lines: line n starts at first + n * nextLine and
// goes on by `step` until it leaves the board. Only lines long enough for a
// run are swept.
struct Sweep {
    Cell first;
    Cell nextLine;
    Cell step;
    int lines;
};

// How many lines of a family fit a run, when `across` starting places lie
// side by side.
constexpr int linesFitting(int across) {
    return across - (kRunLength - 1);
}

// The six sweeps, in the order the scan runs them. Each finds at most one
// run: the first it meets, line by line in this order.
inline constexpr std::array<Sweep, 6> kSweeps = {{
    // rows, bottom up, each left to right
    {{kLastRow, 0}, {-1, 0}, {0, +1}, kRows},
    // columns, left to right, each bottom to top
    {{kLastRow, 0}, {0, +1}, {-1, 0}, kCols},
    // rising diagonals from the left edge, top down
    {{kRunLength - 1, 0}, {+1, 0}, {-1, +1}, linesFitting(kRows)},
    // rising diagonals from the bottom row, left to right (the first one
    // again, from the corner)
    {{kLastRow, 0}, {0, +1}, {-1, +1}, linesFitting(kCols)},
    // falling diagonals from the left edge, bottom up
    {{kRows - kRunLength, 0}, {-1, 0}, {+1, +1}, linesFitting(kRows)},
    // falling diagonals from the top row, left to right (the last one
    // again, from the corner)
    {{0, 0}, {0, +1}, {+1, +1}, linesFitting(kCols)},
}};

// A tile that can be part of a run: a dealt kind, neither a free cell nor a
// cell being cleared.
constexpr bool matches(Tile t) {
    return t < EMPTY;
}

// The first run the sweep meets on the board. Every line starts a count of
// its own: a run never goes on from one line into the next.
std::optional<Run> findRun(const Board& board, const Sweep& sweep);

// The cells a run clears: its own cells and every tile of its kind joined
// to them side by side (never at a corner), in the order a flood fill from
// the run's cells reaches them.
struct Group {
    std::array<Cell, kRows * kCols> cells{};
    int size = 0;
    bool contains(Cell c) const;
};
Group groupOf(const Board& board, const Run& run);

}  // namespace nubbo
