#pragma once

#include <string_view>

namespace nubbo {

// What the game needs of its window. The core tells it what changed on the
// form, control by control, in cells and texts; the window alone knows
// pixels, fonts and scale.
class Window {
  public:
    virtual ~Window() = default;

    // Board cell (row, col) now shows tile picture `picture` (0 to 7).
    virtual void paintCell(int row, int col, int picture) = 0;
    // "GAME OVER" over the board.
    virtual void showGameOver(bool visible) = 0;
    // The banner over the board: the prompt "按F2", "PAUSE", a chain, a level.
    virtual void showBanner(bool visible) = 0;
    virtual void setBannerCaption(std::string_view caption) = 0;  // UTF-8
    virtual void setScore(std::string_view text) = 0;
    virtual void setLevel(std::string_view text) = 0;
    // A game is being played: from New until the game is over. A front end
    // that could reload or replace itself waits while it is.
    virtual void setGameUnderWay(bool underWay) = 0;
    // Game > Exit: end the program at once.
    virtual void endProgram() = 0;
};

}  // namespace nubbo
