// The matching as pure functions, on boards written as text: the run each
// sweep finds, the group a run clears, and the collapse after a pass.
#include <gtest/gtest.h>

#include <optional>

#include "boards.h"
#include "matching.h"

namespace nubbo::test {
namespace {

// The board with the given cells starred, as a pass would paint them.
Rows starred(const Rows& board, const std::vector<Cell>& cells) {
    Rows rows = board;
    for (Cell c : cells) rows[c.row][c.col] = '*';
    return rows;
}

enum SweepName { Rows_, Columns, RisingLeft, RisingBottom, FallingLeft, FallingTop };

struct RunCase {
    const char* name;
    SweepName sweep;
    Rows board;
    std::optional<Run> run;  // the kind and cells, in the order met
};

class FindRun : public ::testing::TestWithParam<RunCase> {};

TEST_P(FindRun, TheFirstRunTheSweepMeets) {
    const RunCase& c = GetParam();
    const auto run = findRun(boardOf(c.board), kSweeps[c.sweep]);
    EXPECT_EQ(run.has_value(), c.run.has_value());
    if (run && c.run) {
        EXPECT_EQ(run->kind, c.run->kind);
        const std::vector<Cell> got(run->cells.begin(), run->cells.end());
        const std::vector<Cell> want(c.run->cells.begin(), c.run->cells.end());
        EXPECT_EQ(starred(c.board, got), starred(c.board, want));
        EXPECT_TRUE(got == want) << "the cells in another order";
    }
}

Run run(Tile kind, Cell a, Cell b, Cell c) {
    return Run{kind, {a, b, c}};
}

INSTANTIATE_TEST_SUITE_P(
    Boards, FindRun,
    ::testing::Values(
        // Rows: the lowest first, and in it the leftmost; a line of four is
        // cut at its first three.
        RunCase{"LowestRowLeftmostFirst", Rows_, bottom({"4444....", "........", ".....222"}),
                run(2, {12, 5}, {12, 6}, {12, 7})},
        RunCase{"FourInARowCutAtThree", Rows_, bottom({"..3333.."}),
                run(3, {12, 2}, {12, 3}, {12, 4})},
        // A count never goes on into the next line of the sweep.
        RunCase{"NoRunFromOneRowIntoTheNext", Rows_, bottom({"1.......", "......11"}),
                std::nullopt},
        RunCase{"FreeAndClearedCellsAreNoRun", Rows_, bottom({"***.....", "........"}),
                std::nullopt},
        RunCase{"AGapBreaksARow", Rows_, bottom({"11.11.1."}), std::nullopt},
        // Columns: left to right, each bottom up; the top row counts.
        RunCase{"LeftmostColumnFirst", Columns, top({".0....5.", ".0....5.", ".0....5."}),
                run(0, {2, 1}, {1, 1}, {0, 1})},
        RunCase{
            "NoRunFromOneColumnIntoTheNext", Columns,
            Rows{"0.......", "0.......", "........", "........", "........", "........", "........",
                 "........", "........", "........", "........", "........", ".0......"},
            std::nullopt},
        RunCase{"ColumnFromTheFloor", Columns, bottom({".......4", ".......4", ".......4"}),
                run(4, {12, 7}, {11, 7}, {10, 7})},
        // Rising diagonals from the left edge: the line from row 2 first.
        RunCase{
            "RisingFromTheLeftEdgeHighestFirst", RisingLeft,
            Rows{"..5.....", ".5......", "5.......", "........", "........", "........", "........",
                 "........", "........", "........", "..1.....", ".1......", "1......."},
            run(5, {2, 0}, {1, 1}, {0, 2})},
        RunCase{"RisingFourFromTheCornerLeavesTheHighest", RisingLeft,
                bottom({"...1....", "..1.....", ".1......", "1......."}),
                run(1, {12, 0}, {11, 1}, {10, 2})},
        RunCase{"RisingLeftSeesNoLineFromTheFloor", RisingLeft,
                bottom({".......2", "......2.", ".....2.."}), std::nullopt},
        // Rising diagonals from the floor: the last that fits starts at column 5.
        RunCase{"RisingFromTheFloorLastLine", RisingBottom,
                bottom({".......2", "......2.", ".....2.."}), run(2, {12, 5}, {11, 6}, {10, 7})},
        RunCase{"RisingFromTheFloorLeftmostFirst", RisingBottom,
                bottom({"...3...0", "..3...0.", ".3...0.."}), run(3, {12, 1}, {11, 2}, {10, 3})},
        RunCase{"NoRunRoundTheRightEdge", RisingBottom, bottom({"5......5", "......5."}),
                std::nullopt},
        // Falling diagonals from the left edge: bottom up, the corner's last.
        RunCase{
            "FallingFromTheLeftEdgeLowestFirst", FallingLeft,
            Rows{"4.......", ".4......", "..4.....", "........", "........", "........", "........",
                 "........", "........", "........", "0.......", ".0......", "..0....."},
            run(0, {10, 0}, {11, 1}, {12, 2})},
        RunCase{"FallingFromTheCorner", FallingLeft, top({"4.......", ".4......", "..4....."}),
                run(4, {0, 0}, {1, 1}, {2, 2})},
        // Falling diagonals from the top row: the last that fits starts at column 5.
        RunCase{"FallingFromTheTopRowLastLine", FallingTop,
                top({".....1..", "......1.", ".......1"}), run(1, {0, 5}, {1, 6}, {2, 7})},
        RunCase{"FallingTopSeesNoLineFromTheLeftEdge", FallingTop,
                top({"........", "1.......", ".1......", "..1....."}), std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

// The group of a run: its cells and every tile of its kind joined to them
// side by side. Written as the board with the group starred.
struct GroupCase {
    const char* name;
    Rows board;
    Run run;
    Rows group;
};

class GroupOf : public ::testing::TestWithParam<GroupCase> {};

TEST_P(GroupOf, IsTheSideBySideComponentOfTheRunsCells) {
    const GroupCase& c = GetParam();
    const Group group = groupOf(boardOf(c.board), c.run);
    const std::vector<Cell> cells(group.cells.begin(), group.cells.begin() + group.size);
    EXPECT_EQ(starred(c.board, cells), c.group);
    int stars = 0;
    for (const auto& row : c.group)
        for (char ch : row) stars += ch == '*';
    EXPECT_EQ(group.size, stars) << "a cell taken twice";
    for (Cell cell : cells) EXPECT_TRUE(group.contains(cell));
    EXPECT_FALSE(group.contains({0, 0}) && c.group[0][0] != '*');
}

INSTANTIATE_TEST_SUITE_P(
    Boards, GroupOf,
    ::testing::Values(
        GroupCase{"RowGrowsUpItsColumnNotAcrossCorners",
                  bottom({"3.2.....", "2.2.....", "12......", "2221...."}),
                  run(2, {12, 0}, {12, 1}, {12, 2}),
                  bottom({"3.2.....", "2.2.....", "1*......", "***1...."})},
        GroupCase{"ASnakeThroughOtherKinds",
                  bottom({"0000000.", "1111110.", "0000000.", "0111111.", "000....."}),
                  run(0, {12, 0}, {12, 1}, {12, 2}),
                  bottom({"*******.", "111111*.", "*******.", "*111111.", "***....."})},
        GroupCase{"DiagonalSeedsEachBringTheirOwn",
                  bottom({"4......4", "4.......", ".4......", "..44...."}),
                  run(4, {10, 0}, {11, 1}, {12, 2}),
                  bottom({"*......4", "*.......", ".*......", "..**...."})},
        GroupCase{"NoCornerJoins",
                  bottom({"3.3.....", ".3......", ".3......", ".3......", "3.3....."}),
                  run(3, {9, 1}, {10, 1}, {11, 1}),
                  bottom({"3.3.....", ".*......", ".*......", ".*......", "3.3....."})},
        GroupCase{"TheWholeBoard", Rows(kRows, "55555555"), run(5, {12, 0}, {12, 1}, {12, 2}),
                  Rows(kRows, "********")},
        GroupCase{"TheEdgesBoundIt", top({"11111111", "1......1", "1......1"}),
                  run(1, {0, 7}, {1, 7}, {2, 7}), top({"********", "*......*", "*......*"})}),
    [](const auto& info) { return std::string(info.param.name); });

// The collapse: cleared cells leave their columns, what stood above falls
// in, and free cells come in at the top; free cells between tiles stay.
TEST(Collapse, TakesOutEveryClearedCellAndNothingElse) {
    const struct {
        Rows before, after;
    } cases[] = {
        {bottom({"1*", "*2", "**", "3*", "*4"}), bottom({"..", "..", "..", "12", "34"})},
        {top({"*.......", "1.......", "*.......", ".......*"}),
         top({"........", "........", "1......."})},
        {Rows(kRows, "*.5*"), Rows(kRows, "..5.")},
        {bottom({"2.......", "........", "*......."}),
         bottom({"........", "2.......", "........"})},
    };
    for (const auto& c : cases) {
        auto pad = [](Rows rows) {
            for (auto& row : rows) row.resize(kCols, '.');
            return rows;
        };
        Board board = boardOf(pad(c.before));
        board.collapseCleared();
        EXPECT_EQ(boardRows(board), pad(c.after));
    }
}

}  // namespace
}  // namespace nubbo::test
