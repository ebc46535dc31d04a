// Growing a group through the side neighbours of its cells.
#include <gtest/gtest.h>

#include "rig.h"

namespace nubbo::test {
namespace {

// A game with an empty queue and no marks, ready to grow a group of `kind`.
struct ProbeRig : Rig {
    explicit ProbeRig(Tile kind) {
        scratch() = Scratch{};
        scratch().i = -1;
        scratch().runKind = kind;
    }
    void seed(int col, int row) {
        Scratch& w = scratch();
        w.queue[w.i + 2] = col;
        w.queue[w.i + 3] = row;
        w.i += 2;
        w.group[row][col] = w.runKind;
    }
    std::vector<std::pair<int, int>> queue() {
        std::vector<std::pair<int, int>> cells;
        for (int p = 1; scratch().queue[p] != kUnused; p += 2)
            cells.emplace_back(scratch().queue[p], scratch().queue[p + 1]);
        return cells;
    }
    void fill(Tile t) {
        for (auto& row : s().board)
            for (auto& cell : row) cell = t;
    }
};

using Cells = std::vector<std::pair<int, int>>;  // (column, row)

struct BoundCase {
    int col, row;
    Cells queued;  // after the seed, in probe order: left, right, up, down
};

class ProbeBounds : public ::testing::TestWithParam<BoundCase> {};

TEST_P(ProbeBounds, OnlyNeighboursOnTheBoardAreProbed) {
    ProbeRig rig(2);
    rig.fill(2);
    const auto& c = GetParam();
    rig.seed(c.col, c.row);
    rig.rules().probeNeighbours(c.row, c.col, 2);
    Cells expected{{c.col, c.row}};
    expected.insert(expected.end(), c.queued.begin(), c.queued.end());
    EXPECT_EQ(rig.queue(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Edges, ProbeBounds,
    ::testing::Values(BoundCase{0, 0, {{1, 0}, {0, 1}}},     // no left, no up
                      BoundCase{7, 12, {{6, 12}, {7, 11}}},  // no right, no down
                      BoundCase{0, 12, {{1, 12}, {0, 11}}},  // no left, no down
                      BoundCase{7, 0, {{6, 0}, {7, 1}}},     // no right, no up
                      BoundCase{4, 6, {{3, 6}, {5, 6}, {4, 5}, {4, 7}}}));

TEST(Probes, OtherCodesAreNeitherMarkedNorQueued) {
    ProbeRig rig(2);
    rig.s().board[6][3] = EMPTY;     // left
    rig.s().board[6][5] = CLEARING;  // right
    rig.s().board[5][4] = 3;         // up
    rig.s().board[7][4] = 2;         // down: the only match
    rig.seed(4, 6);
    rig.rules().probeNeighbours(6, 4, 2);
    EXPECT_EQ(rig.queue(), (Cells{{4, 6}, {4, 7}}));
    EXPECT_EQ(rig.scratch().group[6][3], kUnused);
    EXPECT_EQ(rig.scratch().group[6][5], kUnused);
    EXPECT_EQ(rig.scratch().group[5][4], kUnused);
    EXPECT_EQ(rig.scratch().group[7][4], 2);
}

TEST(Probes, ACellIsNeverQueuedTwice) {
    ProbeRig rig(1);
    rig.s().board[12][0] = rig.s().board[12][1] = 1;
    rig.seed(0, 12);
    rig.seed(1, 12);
    rig.rules().probeNeighbours(12, 0, 1);
    rig.rules().probeNeighbours(12, 1, 1);
    rig.rules().probeNeighbours(12, 0, 1);
    EXPECT_EQ(rig.queue(), (Cells{{0, 12}, {1, 12}}));
    EXPECT_EQ(rig.scratch().group[12][1], 1);
}

TEST(Probes, CornerNeighboursNeverJoin) {
    ProbeRig rig(4);
    for (auto [r, c] : {std::pair{5, 3}, {5, 5}, {7, 3}, {7, 5}}) rig.s().board[r][c] = 4;
    rig.s().board[6][4] = 4;
    rig.seed(4, 6);
    rig.rules().probeNeighbours(6, 4, 4);
    EXPECT_EQ(rig.queue(), (Cells{{4, 6}}));
}

}  // namespace
}  // namespace nubbo::test
