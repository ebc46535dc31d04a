#pragma once

// Boards written as 13 strings of 8 characters, row 0 first: '0' to '5' a
// tile kind, '.' an empty cell, '*' a cell being cleared.
#include <string>
#include <vector>

#include "state.h"

namespace nubbo::test {

using Rows = std::vector<std::string>;

inline Board boardOf(const Rows& rows) {
    Board board;
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kCols; ++c) {
            const char ch = rows.at(r).at(c);
            board[r][c] = ch == '.' ? EMPTY : ch == '*' ? CLEARING : Tile(ch - '0');
        }
    return board;
}

inline void setBoard(State& s, const Rows& rows) {
    s.board = boardOf(rows);
}

inline Rows boardRows(const Board& board) {
    Rows rows;
    for (const auto& cells : board) {
        std::string row;
        for (Tile t : cells) row += t == EMPTY ? '.' : t == CLEARING ? '*' : char('0' + t);
        rows.push_back(row);
    }
    return rows;
}

inline Rows boardRows(const State& s) {
    return boardRows(s.board);
}

// A board of empty rows above the given bottom rows.
inline Rows bottom(Rows rows) {
    Rows board(kRows - rows.size(), "........");
    board.insert(board.end(), rows.begin(), rows.end());
    return board;
}

// A board of the given top rows above empty ones.
inline Rows top(Rows rows) {
    rows.resize(kRows, "........");
    return rows;
}

// The board with the spawn cells (column 3, rows 0 to 2) shown as '?',
// so that a test can compare it whatever piece was dealt.
inline Rows boardBelowSpawn(const State& s) {
    auto rows = boardRows(s);
    for (int r = 0; r < 3; ++r) rows[r][kSpawnColumn] = '?';
    return rows;
}

}  // namespace nubbo::test
