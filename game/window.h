#pragma once

#include <string_view>

#include "screen.h"

namespace nubbo {

// What the game needs of its window. The core tells it what changed on the
// screen, in cells and texts; the window alone knows pixels, fonts and scale.
class Window {
  public:
    virtual ~Window() = default;

    // Board cell (row, col) now shows tile picture `picture` (0 to 7).
    virtual void paintCell(int row, int col, int picture) = 0;
    virtual void showLabel(Label label, bool visible) = 0;
    virtual void setLabel2Caption(std::string_view caption) = 0;  // UTF-8
    virtual void setText(TextBox box, std::string_view text) = 0;
    // `Check1`, the 高手 box: ticked for the harder game.
    virtual bool check1Ticked() const = 0;
    // Game > Exit: end the program at once.
    virtual void endProgram() = 0;
};

}  // namespace nubbo
