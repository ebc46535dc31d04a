#pragma once

#include <string>
#include <vector>

#include "game.h"
#include "virtual_clock.h"
#include "window.h"

namespace nubbo::test {

inline constexpr auto T1 = TimerId::Timer1;
inline constexpr auto T2 = TimerId::Timer2;
inline constexpr auto T3 = TimerId::Timer3;
inline constexpr auto T4 = TimerId::Timer4;

// A window that remembers what the game did to it.
struct FakeWindow : Window {
    struct Paint {
        int picture, x, y;
    };

    bool label1 = false, label2 = false;
    std::string caption2 = "按F2";
    std::string text1, text4;
    int check1 = 0;
    int ended = 0;
    std::vector<Paint> paints;
    int screen[kRows][kCols] = {};  // the picture last painted on each board cell
    bool logPaints = true;          // long runs keep only the screen

    void showLabel(Label label, bool visible) override {
        (label == Label::Label1 ? label1 : label2) = visible;
    }
    void setLabel2Caption(std::string_view c) override { caption2 = c; }
    void setText(TextBox box, std::string_view text) override {
        (box == TextBox::Text1 ? text1 : text4) = text;
    }
    int check1Value() const override { return check1; }
    void paintPicture(int picture, int x, int y) override {
        if (logPaints) paints.push_back({picture, x, y});
        screen[(y - 50) / 24][(x - 10) / 24] = picture;
    }
    void endProgram() override { ++ended; }
};

// A board written as 13 strings of 8 characters, row 0 first:
// '0' to '5' a tile kind, '.' an empty cell, '*' a cell being cleared.
inline void setBoard(State& s, const std::vector<std::string>& rows) {
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kCols; ++c) {
            const char ch = rows.at(r).at(c);
            s.board[r][c] = ch == '.' ? EMPTY : ch == '*' ? CLEARING : Tile(ch - '0');
        }
}

inline std::vector<std::string> boardRows(const State& s) {
    std::vector<std::string> rows;
    for (int r = 0; r < kRows; ++r) {
        std::string row;
        for (int c = 0; c < kCols; ++c) {
            const Tile t = s.board[r][c];
            row += t == EMPTY ? '.' : t == CLEARING ? '*' : char('0' + t);
        }
        rows.push_back(row);
    }
    return rows;
}

using Rows = std::vector<std::string>;

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

// A game on a virtual clock, loaded as the window does at start-up.
struct Rig {
    FakeWindow window;
    VirtualClock clock;
    Game game{window, clock};

    Rig() {
        game.load();
        game.random().seed(1);
    }
    State& s() { return game.state(); }
    void advance(Millis ms) { clock.advance(game, ms); }
};

}  // namespace nubbo::test

namespace nubbo::test {

// What each clearing pass painted, and how often pieces were dealt.
struct Recorder : GameEvents {
    struct Pass {
        int combo;
        std::vector<std::string> rows;
        std::int64_t score;
        std::string banner;  // "-" when hidden
    };
    const Game* game = nullptr;
    const FakeWindow* window = nullptr;
    std::vector<Pass> passes;
    int spawns = 0;
    int overs = 0;

    void passPainted() override {
        const State& s = game->state();
        passes.push_back({s.combo, boardRows(s), s.score, window->label2 ? window->caption2 : "-"});
    }
    void spawned() override { ++spawns; }
    void gameOver() override { ++overs; }
};

// A rig whose game reports its passes, spawns and game overs.
struct ScanRig {
    FakeWindow window;
    VirtualClock clock;
    Recorder events;
    Game game{window, clock, &events};

    ScanRig() {
        events.game = &game;
        events.window = &window;
        game.load();
        game.random().seed(7);
    }
    State& s() { return game.state(); }
    void advance(Millis ms) { clock.advance(game, ms); }
};

// The board with the spawn cells (column 3, rows 0 to 2) shown as '?',
// so that a test can compare it whatever piece was dealt.
inline std::vector<std::string> boardBelowSpawn(const State& s) {
    auto rows = boardRows(s);
    for (int r = 0; r < 3; ++r) rows[r][3] = '?';
    return rows;
}

}  // namespace nubbo::test
