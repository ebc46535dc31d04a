#pragma once

#include "window.h"

namespace nubbo::sim {

// The window as the simulator keeps it: the game's screen is printed from
// the game itself, so the window holds nothing.
struct TextWindow : Window {
    void paintCell(int, int, int) override {}
    void showGameOver(bool) override {}
    void showBanner(bool) override {}
    void setBannerCaption(std::string_view) override {}
    void setScore(std::string_view) override {}
    void setLevel(std::string_view) override {}
    void setGameUnderWay(bool) override {}
    void endProgram() override {}
};

}  // namespace nubbo::sim
