#include "matching.h"

#include <algorithm>

namespace nubbo {

std::optional<Run> findRun(const Board& board, const Sweep& sweep) {
    for (int line = 0; line < sweep.lines; ++line) {
        Tile kind = EMPTY;
        int length = 0;  // of the line of `kind` that ends at `at`
        for (Cell at = sweep.first + sweep.nextLine * line; at.onBoard(); at = at + sweep.step) {
            const Tile tile = board[at];
            length = tile == kind ? length + 1 : 1;
            kind = tile;
            if (length == kRunLength && matches(kind))
                return Run{kind, {at - sweep.step * 2, at - sweep.step, at}};
        }
    }
    return std::nullopt;
}

Group groupOf(const Board& board, const Run& run) {
    static constexpr Cell kSides[] = {{0, -1}, {0, +1}, {-1, 0}, {+1, 0}};
    Group group;
    bool marked[kRows][kCols] = {};
    auto join = [&](Cell c) {
        if (!c.onBoard() || marked[c.row][c.col] || board[c] != run.kind) return;
        marked[c.row][c.col] = true;
        group.cells[group.size++] = c;
    };
    for (Cell c : run.cells) join(c);
    // The cells joined so far are the queue: each is visited once, in order.
    for (int next = 0; next < group.size; ++next)
        for (Cell side : kSides) join(group.cells[next] + side);
    return group;
}

bool Group::contains(Cell c) const {
    return std::find(cells.begin(), cells.begin() + size, c) != cells.begin() + size;
}

}  // namespace nubbo
