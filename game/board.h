#pragma once

#include <array>

#include "constants.h"

namespace nubbo {

// A place on the board.
struct Cell {
    int row = 0;  // 0 at the top
    int col = 0;  // 0 at the left

    constexpr bool onBoard() const { return row >= 0 && row < kRows && col >= 0 && col < kCols; }
    constexpr Cell operator+(Cell d) const { return {row + d.row, col + d.col}; }
    constexpr Cell operator-(Cell d) const { return {row - d.row, col - d.col}; }
    constexpr Cell operator*(int n) const { return {row * n, col * n}; }
    bool operator==(const Cell&) const = default;
};

// The playfield: kRows rows of kCols tiles, the falling piece included.
// `board[row][col]` reads and writes a tile, `board[cell]` too.
class Board {
  public:
    using Row = std::array<Tile, kCols>;

    Row& operator[](int row) { return rows_[row]; }
    const Row& operator[](int row) const { return rows_[row]; }
    Tile& operator[](Cell c) { return rows_[c.row][c.col]; }
    Tile operator[](Cell c) const { return rows_[c.row][c.col]; }

    bool free(Cell c) const { return (*this)[c] == EMPTY; }
    void fill(Tile t);
    // Every cleared cell (CLEARING) taken out of its column: the tiles above
    // it fall in, and free cells come in at the top.
    void collapseCleared();

    auto begin() const { return rows_.begin(); }
    auto end() const { return rows_.end(); }
    bool operator==(const Board&) const = default;

  private:
    std::array<Row, kRows> rows_{};
};

}  // namespace nubbo
