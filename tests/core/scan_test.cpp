// The match scan and the clearing passes, on boards built by hand. Each case
// names the boards that its passes paint (cleared cells as '*') and the board
// that stands after the scan, with the new piece's cells shown as '?'.
#include <gtest/gtest.h>

#include "rig.h"

namespace nubbo::test {
namespace {

Rows withSpawn(Rows rows) {
    for (int r = 0; r < 3; ++r) rows[r][3] = '?';
    return rows;
}

struct PassCase {
    const char* name;
    Rows board;
    std::vector<Rows> painted;  // one per pass
    std::vector<std::int64_t> scores;
    std::vector<std::string> banners;
    Rows after;
};

class Scan : public ::testing::TestWithParam<PassCase> {};

TEST_P(Scan, ClearsWhatTheSweepsFind) {
    const PassCase& c = GetParam();
    Rig rig;
    rig.newGame();
    setBoard(rig.s(), c.board);
    rig.rules().settleLanding();
    ASSERT_EQ(rig.events.passes.size(), c.painted.size());
    for (std::size_t n = 0; n < c.painted.size(); ++n) {
        const auto& pass = rig.events.passes[n];
        EXPECT_EQ(pass.combo, int(n) + 1);
        EXPECT_EQ(pass.rows, c.painted[n]) << "pass " << n + 1;
        EXPECT_EQ(pass.score, c.scores[n]) << "pass " << n + 1;
        EXPECT_EQ(pass.banner, c.banners[n]) << "pass " << n + 1;
    }
    EXPECT_EQ(boardBelowSpawn(rig.s()), withSpawn(c.after));
    EXPECT_EQ(rig.s().combo, 0);
    EXPECT_EQ(rig.events.spawns, 2);  // New's piece and the one after the scan
    for (const auto& row : rig.s().board)
        for (Tile t : row) EXPECT_NE(t, CLEARING);
}

std::string name(const ::testing::TestParamInfo<PassCase>& info) {
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(
    Boards, Scan,
    ::testing::Values(
        PassCase{
            "RowOfThree", bottom({"222....."}), {bottom({"***....."})}, {3}, {"-"}, bottom({})},
        PassCase{"RowGrowsIntoItsGroup",  // column 0 loses three cells at once
                 bottom({"4.......", "3.......", "2.......", "2.......", "222....."}),
                 {bottom({"4.......", "3.......", "*.......", "*.......", "***....."})},
                 {5},
                 {"-"},
                 bottom({"4.......", "3......."})},
        PassCase{"Column",
                 bottom({".....3..", ".....1..", ".....1..", "4....1.."}),
                 {bottom({".....3..", ".....*..", ".....*..", "4....*.."})},
                 {3},
                 {"-"},
                 bottom({"4....3.."})},
        PassCase{"RisingDiagonalSeedsOnly",
                 bottom({"..0.....", ".03.....", "034....."}),
                 {bottom({"..*.....", ".*3.....", "*34....."})},
                 {3},
                 {"-"},
                 bottom({"..3.....", ".34....."})},
        PassCase{"RowZeroJustEmpties",
                 top({"000.1..."}),
                 {top({"***.1..."})},
                 {3},
                 {"-"},
                 top({"....1..."})},
        PassCase{"FourOnARisingDiagonalLeavesTheHighest",
                 bottom({"...5....", "..54....", ".532....", "5121...."}),
                 {bottom({"...5....", "..*4....", ".*32....", "*121...."})},
                 {3},
                 {"-"},
                 bottom({"...5....", "...4....", "..32....", ".121...."})},
        PassCase{"TwoRowRunsMakeAChain",
                 bottom({".....111", "000..222"}),
                 {bottom({".....111", "***..222"}), bottom({".....111", ".....***"}),
                  bottom({".....***"})},
                 {3, 26, 74},
                 {"-", " 2連扁", " 3連扁"},
                 bottom({})},
        PassCase{"RowThenColumnInOneCycle",
                 bottom({"....2...", "....2...", "111.2..."}),
                 {bottom({"....2...", "....2...", "***.2..."}),
                  bottom({"....*...", "....*...", "....*..."})},
                 {3, 26},
                 {"-", " 2連扁"},
                 bottom({})},
        // After the column sweep's pass the diagonal sweep comes next, on the
        // collapsed board; the row its collapse made waits for the next cycle.
        PassCase{"TheSweepsGoOnInOrderAfterAPass",
                 bottom({".......2", "..3....1", ".34....1", "345..221"}),
                 {bottom({".......2", "..3....*", ".34....*", "345..22*"}),
                  bottom({"..*.....", ".*4.....", "*45..222"}), bottom({"..4.....", ".45..***"})},
                 {3, 26, 74},
                 {"-", " 2連扁", " 3連扁"},
                 bottom({"..4.....", ".45....."})},
        PassCase{"ACollapseFormsARun",
                 bottom({"1.......", "444.....", "132.....", "123....."}),
                 {bottom({"1.......", "***.....", "132.....", "123....."}),
                  bottom({"*.......", "*32.....", "*23....."})},
                 {3, 26},
                 {"-", " 2連扁"},
                 bottom({".32.....", ".23....."})},
        PassCase{"TheSameKindTwiceInAChainClearsOnlyItsOwnGroup",
                 bottom({"..11....", "..311...", "11124..."}),
                 {bottom({"..11....", "..311...", "***24..."}),
                  bottom({"...*....", "..***...", "..324..."})},
                 {3, 27},
                 {"-", " 2連扁"},
                 bottom({"..324..."})},
        PassCase{"NoRun",
                 bottom({"..1.....", "1122.33."}),
                 {},
                 {},
                 {},
                 bottom({"..1.....", "1122.33."})},
        PassCase{"NoRunRoundTheRightEdge",  // a diagonal ends at the last column
                 bottom({"5......5", "......5."}),
                 {},
                 {},
                 {},
                 bottom({"5......5", "......5."})}),
    name);

// The sweeps find runs in all four directions; a diagonal's three tiles are
// all seeds, since they touch only at their corners.
struct LineCase {
    const char* name;
    std::vector<std::pair<int, int>> cells;  // (row, column)
};

class Lines : public ::testing::TestWithParam<LineCase> {};

TEST_P(Lines, AreClearedAsExactlyTheirThreeTiles) {
    Rig rig;
    rig.newGame();
    Rows board(kRows, "........");
    for (auto [r, c] : GetParam().cells) board[r][c] = '3';
    setBoard(rig.s(), board);
    rig.rules().settleLanding();
    ASSERT_EQ(rig.events.passes.size(), 1u);
    Rows painted(kRows, "........");
    for (auto [r, c] : GetParam().cells) painted[r][c] = '*';
    EXPECT_EQ(rig.events.passes[0].rows, painted);
}

INSTANTIATE_TEST_SUITE_P(
    Directions, Lines,
    ::testing::Values(LineCase{"RisingFromTheLeftEdge", {{12, 0}, {11, 1}, {10, 2}}},
                      LineCase{"RisingFromTheBottomRow", {{12, 4}, {11, 5}, {10, 6}}},
                      LineCase{"RisingHighOnTheBoard", {{4, 0}, {3, 1}, {2, 2}}},
                      LineCase{"FallingFromTheLeftEdge", {{10, 0}, {11, 1}, {12, 2}}},
                      LineCase{"FallingFromTheTopRow", {{2, 4}, {3, 5}, {4, 6}}},
                      LineCase{"FallingInTheCorner", {{10, 5}, {11, 6}, {12, 7}}},
                      LineCase{"TopRow", {{0, 5}, {0, 6}, {0, 7}}},
                      LineCase{"RightColumn", {{0, 7}, {1, 7}, {2, 7}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Scan, EmptyCellsAndPairsNeverFormARun) {
    Rig rig;
    rig.newGame();
    setBoard(rig.s(), bottom({"11.22.11", "2.2.2.2."}));
    const std::int64_t score = rig.s().score;
    rig.rules().settleLanding();
    EXPECT_TRUE(rig.events.passes.empty());
    EXPECT_EQ(rig.s().score, score);
    EXPECT_TRUE(rig.game.timers().enabled(TimerId::Fall));  // no hold
    EXPECT_FALSE(rig.game.timers().enabled(TimerId::Hold));
}

TEST(Scan, APassHoldsTheGameWithoutClosingTheKeyGate) {
    Rig rig;
    rig.newGame();
    rig.advance(10);
    setBoard(rig.s(), bottom({"222....."}));
    rig.rules().settleLanding();
    const Timers& t = rig.game.timers();
    EXPECT_FALSE(t.enabled(TimerId::Fall));
    EXPECT_FALSE(t.enabled(TimerId::KeyGate));
    EXPECT_FALSE(t.enabled(TimerId::Repaint));
    EXPECT_TRUE(t.enabled(TimerId::Hold));
    EXPECT_TRUE(rig.s().keysOpen);
    EXPECT_EQ(rig.s().score, 3);
}

TEST(Scan, ABoardFullOfOneKindIsOneGroupOf104) {
    Rig rig;
    rig.newGame();
    setBoard(rig.s(), Rows(kRows, "00000000"));
    rig.rules().settleLanding();
    ASSERT_EQ(rig.events.passes.size(), 1u);
    EXPECT_EQ(rig.events.passes[0].rows, Rows(kRows, "********"));
    EXPECT_EQ(rig.s().score, 104 + 0);  // one pass: no bonus, and 104 is above 100
    EXPECT_EQ(rig.s().level, 2);
    EXPECT_EQ(boardBelowSpawn(rig.s()), withSpawn(Rows(kRows, "........")));
}

}  // namespace
}  // namespace nubbo::test
