#pragma once

// Watches a game and records every broken invariant: after every event, and
// after every landing once its scan is done.
#include <cstring>
#include <string>
#include <vector>

#include "fake_window.h"
#include "game.h"
#include "invariants.h"

namespace nubbo::test {

class InvariantChecker : public GameEvents {
  public:
    InvariantChecker(const Game& game, const FakeWindow& window) : game_(game), window_(window) {}

    std::int64_t landings = 0;
    std::int64_t games = 0;
    std::int64_t overs = 0;
    std::int64_t violations = 0;
    std::vector<std::string> first;  // the first few, for the report

    // Game > New was chosen.
    void newGame() {
        ++games;
        over_ = false;
        expectedScore_ = 0;
        lastScore_ = 0;
    }

    // The score is one point for every cell cleared plus 5 x combo x combo
    // for each pass of a chain from the second on.
    void passPainted() override {
        const State& s = game_.state();
        for (const auto& row : s.board)
            for (Tile t : row) expectedScore_ += t == CLEARING;
        if (s.combo > 1) expectedScore_ += std::int64_t{5} * s.combo * s.combo;
        if (s.score != expectedScore_)
            fail("score " + std::to_string(s.score) + " != " + std::to_string(expectedScore_));
    }
    std::int64_t expectedScore() const { return expectedScore_; }

    void spawned() override { landed(true); }

    void gameOver() override {
        overs += games > 0;
        landed(false);
        over_ = true;
        overBoard_ = game_.state().board;
    }

    // Checks what must hold between any two events.
    void afterEvent() {
        const State& s = game_.state();
        if (!onlyTilesAndEmpty(s.board)) fail("a cell outside 0 to 6");
        if (s.inGame) {
            if (s.px < 0 || s.px > 7 || s.py < 0 || s.py > 10)
                fail("piece at " + std::to_string(s.px) + "," + std::to_string(s.py));
            else
                for (int k = 0; k < 3; ++k)
                    if (s.board[s.py + k][s.px] != s.piece[k]) fail("piece not on the board");
        }
        if (s.score < lastScore_) fail("the score fell");
        lastScore_ = s.score;
        const auto& t = game_.timers();
        if (t.interval(TimerId::Fall) < 50 || (s.fallInterval != 0 && s.fallInterval < 50))
            fail("fall interval below 50 ms");
        if (over_ && overBoard_ != s.board) fail("the board changed after game over");
        if (over_ && !window_.gameOverShown) fail("GAME OVER hidden before New");
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < kCols; ++c)
                if (game_.screen().cell[r][c] != Screen::kUnpainted &&
                    window_.screen[r][c] != game_.screen().cell[r][c])
                    fail("the window shows another picture than the screen");
    }

  private:
    void landed(bool dealt) {
        if (games == 0) return;  // a scan run by hand before any New
        ++landings;
        Board board = game_.state().board;
        if (dealt)
            for (int r = 0; r < 3; ++r) board[r][3] = EMPTY;  // the new piece
        if (auto run = findRun(board); !run.empty()) fail("run left at " + run);
        if (int c = floatingColumn(board); c >= 0) fail("gap in column " + std::to_string(c));
        if (!onlyTilesAndEmpty(board)) fail("a cleared cell left");
    }

    void fail(const std::string& what) {
        ++violations;
        if (first.size() < 10) first.push_back(what);
    }

    const Game& game_;
    const FakeWindow& window_;
    std::int64_t expectedScore_ = 0;
    std::int64_t lastScore_ = 0;
    bool over_ = false;
    Board overBoard_;
};

}  // namespace nubbo::test
