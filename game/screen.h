#pragma once

#include <string>

#include "constants.h"

namespace nubbo {

enum class Label {
    Label1,  // `Label1`: "GAME OVER" over the board
    Label2,  // `Label2`: the banner: the prompt "按F2", "PAUSE", a chain or a level
};

enum class TextBox {
    Text1,  // `Text1`: the score
    Text4,  // `Text4`: the level
};

// What the window shows, as the rules last set it. The rules draw into this
// model only; the window is told what changed once an event is handled, so
// the screen a player sees is a function of this model alone.
struct Screen {
    static constexpr Tile kUnpainted = -1;

    Tile cell[kRows][kCols];  // the picture on each board cell
    bool label1 = false;
    bool label2 = false;
    std::string caption2 = "按F2";  // Label2's caption, UTF-8
    std::string text1;
    std::string text4;
    bool ended = false;  // Exit: the program is to end

    Screen() {
        for (auto& row : cell)
            for (Tile& t : row) t = kUnpainted;
    }
    bool operator==(const Screen&) const = default;
};

}  // namespace nubbo
