#pragma once

#include <string>

#include "window.h"

namespace nubbo::test {

// A window that remembers what the game told it.
struct FakeWindow : Window {
    bool label1 = false, label2 = false;
    std::string caption2;
    std::string text1, text4;
    bool check1 = false;
    int ended = 0;
    int paints = 0;                 // cells painted, each only when it changed
    int screen[kRows][kCols] = {};  // the picture on each board cell

    void paintCell(int row, int col, int picture) override {
        ++paints;
        screen[row][col] = picture;
    }
    void showLabel(Label label, bool visible) override {
        (label == Label::Label1 ? label1 : label2) = visible;
    }
    void setLabel2Caption(std::string_view c) override { caption2 = c; }
    void setText(TextBox box, std::string_view text) override {
        (box == TextBox::Text1 ? text1 : text4) = text;
    }
    bool check1Ticked() const override { return check1; }
    void endProgram() override { ++ended; }
};

}  // namespace nubbo::test
