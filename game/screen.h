#pragma once

#include <string>

#include "constants.h"

namespace nubbo {

// What the window shows, as the rules last set it. The rules draw into this
// model only; the window is told what changed once an event is handled, so
// the form a player sees is a function of this model alone.
struct Screen {
    static constexpr Tile kUnpainted = -1;

    Tile cell[kRows][kCols];  // the picture on each board cell
    bool gameOverShown = false;
    bool bannerShown = false;
    std::string bannerCaption = "按F2";  // UTF-8
    std::string score;                   // the score box's text
    std::string level;                   // the level box's text
    bool ended = false;                  // Exit: the program is to end

    Screen() {
        for (auto& row : cell)
            for (Tile& t : row) t = kUnpainted;
    }
    bool operator==(const Screen&) const = default;
};

}  // namespace nubbo
