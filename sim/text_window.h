#pragma once

#include <string>

#include "window.h"

namespace nubbo::sim {

// The window as the simulator keeps it: what is shown, never drawn.
struct TextWindow : Window {
    bool label1 = false;
    bool label2 = false;
    std::string caption2 = "按F2";
    std::string text1, text4;
    int check1 = 0;
    bool ended = false;

    void showLabel(Label label, bool visible) override {
        (label == Label::Label1 ? label1 : label2) = visible;
    }
    void setLabel2Caption(std::string_view c) override { caption2.assign(c); }
    void setText(TextBox box, std::string_view text) override {
        (box == TextBox::Text1 ? text1 : text4).assign(text);
    }
    int check1Value() const override { return check1; }
    void paintPicture(int, int, int) override {}
    void endProgram() override { ended = true; }
};

}  // namespace nubbo::sim
