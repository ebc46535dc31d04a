// Spawning, gravity, keys, holds and game over on the virtual clock.
#include <gtest/gtest.h>

#include <set>

#include "invariants.h"
#include "rig.h"

namespace nubbo::test {
namespace {

constexpr Key kAllKeys[] = {Key::Left, Key::Right, Key::Rotate, Key::Down, Key::Other};

// A new game whose first piece is A, B, C (top to bottom) on the given board,
// after the first repaint (fall interval 500 ms, next step due at 510 ms).
struct PlayRig : Rig {
    explicit PlayRig(Rows board = Rows(kRows, "........"), Tile a = 0, Tile b = 1, Tile c = 2) {
        newGame();
        setBoard(s(), board);
        s().piece[0] = a;
        s().piece[1] = b;
        s().piece[2] = c;
        for (int r = 0; r < 3; ++r) s().board[s().py + r][s().px] = s().piece[r];
        advance(10);
    }
    std::string column(int c) const {
        std::string col;
        for (int r = 0; r < kRows; ++r) col += boardRows(game.state())[r][c];
        return col;
    }
};

// --- spawning -------------------------------------------------------------

class BlockedSpawn : public ::testing::TestWithParam<int> {};

TEST_P(BlockedSpawn, AnyOneOfTheTopThreeCellsEndsTheGame) {
    Rig rig;
    rig.newGame();
    rig.s().combo = 4;
    Rows board(kRows, "........");
    board[GetParam()][3] = '2';
    setBoard(rig.s(), board);
    rig.rules().dealPiece();
    EXPECT_EQ(rig.events.overs, 1);
    EXPECT_TRUE(rig.game.screen().gameOverShown);
    EXPECT_EQ(boardRows(rig.s()), board);
    EXPECT_EQ(rig.s().px, 3);
    EXPECT_EQ(rig.s().py, 0);
    EXPECT_EQ(rig.s().combo, 0);
    EXPECT_FALSE(rig.game.timers().enabled(Fall));
    EXPECT_FALSE(rig.game.timers().enabled(Repaint));
    EXPECT_FALSE(rig.game.timers().enabled(Hold));
}

INSTANTIATE_TEST_SUITE_P(Rows0To2, BlockedSpawn, ::testing::Values(0, 1, 2));

TEST(Spawn, TilesOutsideTheSpawnCellsNeverBlockIt) {
    Rig rig;
    rig.newGame();
    setBoard(rig.s(), top({"111.1111", "111.1111", "111.1111", "44444444"}));
    rig.rules().dealPiece();
    EXPECT_EQ(rig.events.overs, 0);
    EXPECT_EQ(rig.events.spawns, 2);
    for (int r = 0; r < 3; ++r) EXPECT_EQ(rig.s().board[r][3], rig.s().piece[r]);
}

TEST(Spawn, EveryKindInRangeOccursAndNoneOutside) {
    for (bool expert : {false, true}) {
        Rig rig;
        rig.window.expert = expert;
        rig.newGame();
        std::set<int> seen;
        for (int n = 0; n < 2000; ++n) {
            for (int r = 0; r < 3; ++r) rig.s().board[r][3] = EMPTY;
            rig.rules().dealPiece();
            for (int r = 0; r < 3; ++r) seen.insert(rig.s().piece[r]);
        }
        std::set<int> expected;
        for (int k = 0; k < (expert ? 6 : 5); ++k) expected.insert(k);
        EXPECT_EQ(seen, expected);
    }
}

// --- gravity --------------------------------------------------------------

TEST(Gravity, TenStepsToTheFloorAndTheEleventhLands) {
    PlayRig rig;
    rig.advance(500 * 10);
    EXPECT_EQ(rig.s().py, 10);
    EXPECT_EQ(rig.column(3),
              ".........."
              "012");
    EXPECT_EQ(rig.events.spawns, 1);
    rig.advance(500);
    EXPECT_EQ(rig.events.spawns, 2);  // landed, scanned and the next piece dealt
    EXPECT_EQ(rig.s().py, 0);
    EXPECT_EQ(rig.column(3).substr(10), "012");
}

TEST(Gravity, ComesToRestOnAStackAndLandsOneStepLater) {
    PlayRig rig(bottom({"...4...."}));
    rig.advance(500 * 9);
    EXPECT_EQ(rig.s().py, 9);
    EXPECT_EQ(rig.column(3),
              "........."
              "0124");
    EXPECT_EQ(rig.events.spawns, 1);
    rig.advance(500);
    EXPECT_EQ(rig.events.spawns, 2);
}

TEST(Gravity, APieceShiftedOverAHoleDuringItsRestFallsOn) {
    PlayRig rig(bottom({"...4....", "...3....", "...4....", "...3...."}));
    rig.advance(500 * 6);  // rests with its bottom on row 8
    EXPECT_EQ(rig.s().py, 6);
    rig.key(Key::Left);
    EXPECT_EQ(rig.s().px, 2);
    rig.advance(500);
    EXPECT_EQ(rig.s().py, 7);
    EXPECT_EQ(rig.events.spawns, 1);
}

TEST(Gravity, TheDownKeyNeverLands) {
    PlayRig rig;
    for (int n = 0; n < 30; ++n) {
        rig.key(Key::Down);
        rig.advance(10);
    }
    EXPECT_EQ(rig.s().py, 10);
    EXPECT_EQ(rig.events.spawns, 1);
}

// --- keys -----------------------------------------------------------------

TEST(Keys, ShiftsStopAtTheEdgesWithoutPainting) {
    PlayRig rig;
    for (int n = 0; n < 5; ++n) {
        rig.key(Key::Left);
        rig.advance(10);
    }
    EXPECT_EQ(rig.s().px, 0);
    rig.advance(10);
    const int paints = rig.window.paints;
    rig.key(Key::Left);
    EXPECT_EQ(rig.window.paints, paints);
    EXPECT_TRUE(rig.s().keysOpen);
    for (int n = 0; n < 9; ++n) {
        rig.key(Key::Right);
        rig.advance(10);
    }
    EXPECT_EQ(rig.s().px, 7);
    EXPECT_EQ(rig.column(7).substr(0, 3), "012");
    EXPECT_EQ(rig.column(0), std::string(13, '.'));
}

class ShiftBlockedBeside : public ::testing::TestWithParam<int> {};

TEST_P(ShiftBlockedBeside, AnyOneOfTheThreeCells) {
    Rows board(kRows, "........");
    board[GetParam()][2] = '4';
    board[GetParam()][4] = '4';
    PlayRig rig(board);
    const int paints = rig.window.paints;
    rig.key(Key::Left);
    rig.key(Key::Right);
    EXPECT_EQ(rig.s().px, 3);
    EXPECT_EQ(rig.window.paints, paints);
}

INSTANTIATE_TEST_SUITE_P(TopMiddleBottom, ShiftBlockedBeside, ::testing::Values(0, 1, 2));

TEST(Keys, RotationCyclesInThree) {
    PlayRig rig(Rows(kRows, "........"), 1, 2, 3);
    const std::vector<std::string> expected = {"231", "312", "123"};
    for (const auto& tiles : expected) {
        rig.key(Key::Rotate);  // rotations leave the gate open
        EXPECT_EQ(rig.column(3).substr(0, 3), tiles);
    }
    EXPECT_TRUE(rig.s().keysOpen);
}

TEST(Keys, DownAtRestClosesTheGate) {
    PlayRig rig(bottom({"...4...."}));
    rig.advance(500 * 9);
    const auto before = boardRows(rig.s());
    rig.key(Key::Down);
    EXPECT_EQ(boardRows(rig.s()), before);
    EXPECT_FALSE(rig.s().keysOpen);
    rig.key(Key::Rotate);  // ignored until the gate reopens
    EXPECT_EQ(boardRows(rig.s()), before);
    rig.advance(10);
    rig.key(Key::Rotate);
    EXPECT_EQ(rig.column(3).substr(9), "1204");
}

TEST(Keys, TwoLeftsWithinOneGateIntervalMoveOneColumn) {
    PlayRig rig;
    rig.key(Key::Left);
    rig.key(Key::Left);
    EXPECT_EQ(rig.s().px, 2);
    rig.advance(9);
    rig.key(Key::Left);
    EXPECT_EQ(rig.s().px, 2);
    rig.advance(1);  // the gate tick
    rig.key(Key::Left);
    EXPECT_EQ(rig.s().px, 1);
}

// Every key, pressed over and over where walls, the floor and other tiles
// stand round the piece, moves only the piece: the other tiles stay as they
// were, and the piece stays whole and on the board.
TEST(Keys, NoKeyAnywhereTouchesAnythingButThePiece) {
    const struct {
        const char* where;
        Rows board;
        int px, py;
    } cases[] = {
        {"at the left wall", Rows(kRows, "........"), 0, 0},
        {"at the right wall", Rows(kRows, "........"), 7, 5},
        {"on the floor", Rows(kRows, "........"), 3, 10},
        {"walled in on a stack", bottom({"..1.2...", "..3.4...", "..0.1...", "..21234."}), 3, 8},
        {"beside a tile at its foot", bottom({"1......3", "2......4"}), 1, 8},
        {"under a ledge", top({"........", "........", "........", "11..22.."}), 3, 4},
    };
    const Key presses[] = {Key::Left,   Key::Left,  Key::Left,   Key::Right, Key::Right,
                           Key::Right,  Key::Right, Key::Rotate, Key::Down,  Key::Down,
                           Key::Other,  Key::Left,  Key::Down,   Key::Right, Key::Down,
                           Key::Rotate, Key::Down,  Key::Left,   Key::Left,  Key::Down};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.where);
        PlayRig rig(c.board, 3, 4, 5);
        for (int r = 0; r < 3; ++r) rig.s().board[r][kSpawnColumn] = EMPTY;  // the dealt piece
        rig.s().px = c.px;
        rig.s().py = c.py;
        for (int r = 0; r < 3; ++r) rig.s().board[c.py + r][c.px] = rig.s().piece[r];
        auto others = [&] {
            Rows rows = boardRows(rig.s());
            for (int r = 0; r < 3; ++r) rows[rig.s().py + r][rig.s().px] = '.';
            return rows;
        };
        const Rows before = others();
        for (Key key : presses) {
            rig.key(key);
            rig.advance(10);  // the key gate reopens; the piece's fall is not due yet
            const State& s = rig.s();
            ASSERT_TRUE(s.px >= 0 && s.px < kCols && s.py >= 0 && s.py + 2 < kRows);
            EXPECT_EQ(others(), before);
            std::multiset<Tile> piece(s.piece, s.piece + 3);
            EXPECT_EQ(piece, (std::multiset<Tile>{3, 4, 5}));
            for (int r = 0; r < 3; ++r) EXPECT_EQ(s.board[s.py + r][s.px], s.piece[r]);
        }
    }
}

// --- holds ----------------------------------------------------------------

// A piece landing on this board clears its bottom tile with the row: one pass.
const Rows kSinglePass = bottom({".11....."});
// ... and on this one makes a chain of two passes.
const Rows kChain = bottom({".33.....", ".22....."});

TEST(Hold, ASingleClearingStandsStillForOneSecond) {
    PlayRig rig(kSinglePass, 3, 4, 1);
    rig.key(Key::Other);  // a key the game does not use: the hold's end still resumes the fall
    rig.advance(500 * 10 + 499);  // on the floor, at rest
    rig.advance(1);
    ASSERT_EQ(rig.events.passes.size(), 1u);
    EXPECT_EQ(rig.window.screen[12][2], CLEARING);  // the pass's own paint
    const int paints = rig.window.paints;
    rig.advance(1009);
    EXPECT_EQ(rig.window.paints, paints);
    EXPECT_FALSE(rig.game.timers().enabled(Hold));
    rig.advance(1);
    EXPECT_EQ(rig.window.screen[12][2], EMPTY);  // the collapsed board, new piece on top
    EXPECT_EQ(rig.window.screen[12][3], 4);
    EXPECT_NE(rig.window.screen[0][3], EMPTY);
    rig.advance(500);
    EXPECT_EQ(rig.s().py, 1);
}

TEST(Hold, TheChainBannerStaysForTheHoldAndKeysAreIgnored) {
    PlayRig rig(kChain, 4, 3, 2);
    rig.advance(500 * 10 + 500);
    ASSERT_EQ(rig.events.passes.size(), 2u);
    EXPECT_EQ(rig.window.bannerCaption, " 2連扁");
    EXPECT_TRUE(rig.window.bannerShown);
    const auto board = boardRows(rig.s());
    rig.advance(500);
    for (Key key : kAllKeys) rig.key(key);
    EXPECT_EQ(boardRows(rig.s()), board);
    EXPECT_FALSE(rig.game.timers().enabled(Fall));
    EXPECT_TRUE(rig.window.bannerShown);
    rig.advance(500);  // the hold's end
    EXPECT_FALSE(rig.window.bannerShown);
    EXPECT_TRUE(rig.game.timers().enabled(Fall));
}

TEST(Hold, AKeyDuringAHoldWithoutABannerMovesTheNewPiece) {
    PlayRig rig(kSinglePass, 3, 4, 1);
    rig.advance(500 * 11);
    ASSERT_EQ(rig.events.passes.size(), 1u);
    rig.advance(100);
    rig.key(Key::Right);
    EXPECT_EQ(rig.s().px, 4);
    EXPECT_TRUE(rig.game.timers().enabled(Fall));  // falls before the hold's end
    rig.advance(500);
    EXPECT_EQ(rig.s().py, 1);
}

TEST(Hold, NewDuringAHoldStartsAtOnce) {
    PlayRig rig(kChain, 4, 3, 2);
    rig.advance(500 * 11);
    rig.newGame();
    EXPECT_FALSE(rig.window.bannerShown);
    EXPECT_EQ(rig.s().score, 0);
    rig.advance(10);
    EXPECT_TRUE(rig.game.timers().enabled(Repaint));
    rig.advance(990);  // the pending hold tick only hides the label again
    EXPECT_FALSE(rig.game.timers().enabled(Hold));
    EXPECT_TRUE(rig.game.timers().enabled(Fall));
}

TEST(Hold, PauseDuringAHoldStaysPaused) {
    PlayRig rig(kChain, 4, 3, 2);
    rig.advance(500 * 11);
    rig.game.pause();
    rig.advance(1000);
    EXPECT_TRUE(rig.window.bannerShown);
    EXPECT_EQ(rig.window.bannerCaption, "PAUSE");
    EXPECT_FALSE(rig.game.timers().enabled(Fall));
    EXPECT_TRUE(rig.game.timers().enabled(KeyGate));
    EXPECT_TRUE(rig.game.timers().enabled(Repaint));
    rig.advance(5000);
    EXPECT_EQ(rig.s().py, 0);
    rig.key(Key::Other);
    rig.advance(500);
    EXPECT_EQ(rig.s().py, 1);
    EXPECT_FALSE(rig.window.bannerShown);
}

// --- game over ------------------------------------------------------------

TEST(Over, KeysDoNothingUntilNew) {
    PlayRig rig(top({"........", "........", "........", "...4...."}), 0, 1, 2);
    EXPECT_TRUE(rig.window.underWay);
    rig.advance(500);  // lands at once: the next piece cannot be dealt
    ASSERT_EQ(rig.events.overs, 1);
    EXPECT_FALSE(rig.window.underWay);  // the window may reload or replace itself now
    const auto board = boardRows(rig.s());
    for (int n = 0; n < 50; ++n) {
        for (Key key : kAllKeys) rig.key(key);
        rig.advance(250);
    }
    EXPECT_EQ(boardRows(rig.s()), board);
    EXPECT_FALSE(rig.game.timers().enabled(Fall));
    rig.newGame();
    EXPECT_FALSE(rig.window.gameOverShown);
    EXPECT_TRUE(rig.window.underWay);
    rig.advance(510);
    EXPECT_EQ(rig.s().py, 1);
}

TEST(Over, PauseAfterGameOverOnlyShowsPause) {
    PlayRig rig(top({"........", "........", "........", "...4...."}));
    rig.advance(500);
    rig.game.pause();
    EXPECT_TRUE(rig.window.gameOverShown);
    EXPECT_EQ(rig.window.bannerCaption, "PAUSE");
    const auto board = boardRows(rig.s());
    rig.key(Key::Left);
    rig.advance(2000);
    EXPECT_EQ(boardRows(rig.s()), board);
}

TEST(BeforeTheFirstGame, KeysDoNothing) {
    Rig rig;
    for (Key key : kAllKeys) {
        rig.key(key);
        rig.advance(600);
    }
    EXPECT_FALSE(rig.game.timers().enabled(Fall));
    for (const auto& row : rig.s().board)
        for (Tile t : row) EXPECT_EQ(t, EMPTY);
    EXPECT_EQ(rig.window.bannerCaption, "按F2");
}

}  // namespace
}  // namespace nubbo::test
