#pragma once

#include <string_view>

namespace nubbo {

enum class Label { Label1, Label2 };
enum class TextBox { Text1, Text4 };

// What the game needs of its window. The core drives the screen only through
// this, so the same rules run behind the Qt window, the simulator and tests.
class Window {
  public:
    virtual ~Window() = default;

    virtual void showLabel(Label label, bool visible) = 0;
    virtual void setLabel2Caption(std::string_view caption) = 0;  // UTF-8
    virtual void setText(TextBox box, std::string_view text) = 0;
    // The difficulty check box: 0 unticked, anything else ticked.
    virtual int check1Value() const = 0;
    // Copy tile picture `picture` (0 to 7) with its top-left corner at
    // (x, y) points from the top-left of the client area.
    virtual void paintPicture(int picture, int x, int y) = 0;
    virtual void endProgram() = 0;
};

}  // namespace nubbo
