#pragma once

#include "window.h"

namespace nubbo::sim {

// The window as the simulator keeps it: the game's screen is printed from
// the game itself, so the window only holds the difficulty box.
struct TextWindow : Window {
    bool check1 = false;

    void paintCell(int, int, int) override {}
    void showLabel(Label, bool) override {}
    void setLabel2Caption(std::string_view) override {}
    void setText(TextBox, std::string_view) override {}
    bool check1Ticked() const override { return check1; }
    void endProgram() override {}
};

}  // namespace nubbo::sim
