#include "board.h"

namespace nubbo {

void Board::fill(Tile t) {
    for (Row& row : rows_) row.fill(t);
}

void Board::collapseCleared() {
    for (int col = 0; col < kCols; ++col) {
        int to = kLastRow;  // where the next tile that stays lands
        for (int row = kLastRow; row >= 0; --row)
            if (rows_[row][col] != CLEARING) rows_[to--][col] = rows_[row][col];
        for (; to >= 0; --to) rows_[to][col] = EMPTY;
    }
}

}  // namespace nubbo
