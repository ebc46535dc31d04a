#pragma once

#include "window.h"

namespace nubbo::sim {

// The window as the simulator keeps it: the game's screen is printed from
// the game itself, so the window only holds the 高手 box, which a script
// ticks with `check1`.
struct TextWindow : Window {
    bool expert = false;

    void paintCell(int, int, int) override {}
    void showGameOver(bool) override {}
    void showBanner(bool) override {}
    void setBannerCaption(std::string_view) override {}
    void setScore(std::string_view) override {}
    void setLevel(std::string_view) override {}
    void setGameUnderWay(bool) override {}
    bool expertTicked() const override { return expert; }
    void endProgram() override {}
};

}  // namespace nubbo::sim
