#pragma once

#include <string>
#include <vector>

#include "game.h"
#include "virtual_clock.h"
#include "window.h"

namespace nubbo::test {

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

    void showLabel(Label label, bool visible) override {
        (label == Label::Label1 ? label1 : label2) = visible;
    }
    void setLabel2Caption(std::string_view c) override { caption2 = c; }
    void setText(TextBox box, std::string_view text) override {
        (box == TextBox::Text1 ? text1 : text4) = text;
    }
    int check1Value() const override { return check1; }
    void paintPicture(int picture, int x, int y) override { paints.push_back({picture, x, y}); }
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
