#pragma once

#include <string>

#include "constants.h"
#include "window.h"

namespace nubbo::test {

// A window that remembers what the game told it.
struct FakeWindow : Window {
    bool gameOverShown = false, bannerShown = false;
    std::string bannerCaption;
    std::string score, level;
    bool underWay = false;
    bool expert = false;  // the 高手 box, as the test ticks it; the game is told at load and New
    int ended = 0;
    int paints = 0;                 // cells painted, each only when it changed
    int screen[kRows][kCols] = {};  // the picture on each board cell

    void paintCell(int row, int col, int picture) override {
        ++paints;
        screen[row][col] = picture;
    }
    void showGameOver(bool visible) override { gameOverShown = visible; }
    void showBanner(bool visible) override { bannerShown = visible; }
    void setBannerCaption(std::string_view c) override { bannerCaption = c; }
    void setScore(std::string_view text) override { score = text; }
    void setLevel(std::string_view text) override { level = text; }
    void setGameUnderWay(bool on) override { underWay = on; }
    void endProgram() override { ++ended; }
};

}  // namespace nubbo::test
