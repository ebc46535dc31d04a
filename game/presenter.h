#pragma once

#include "screen.h"
#include "window.h"

namespace nubbo {

// Tells the window what changed on the screen since it was last told, so
// that a front end draws only what changes.
class Presenter {
  public:
    // The first show tells the window everything, the prompt included.
    explicit Presenter(Window& window) : window_(window) { told_.bannerCaption.clear(); }
    void show(const Screen& screen, bool gameUnderWay);

  private:
    Window& window_;
    Screen told_;
    bool toldUnderWay_ = false;
};

}  // namespace nubbo
