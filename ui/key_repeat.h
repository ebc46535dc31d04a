#pragma once

#include "clock.h"

namespace nubbo::ui {

// The desktop's key repeat, for controls that repeat as a held key does:
// the wait before the first repeat (the X server's XKB setting on X11; Qt
// reads no such setting, so elsewhere 500 ms) and the time between repeats
// (Qt's style hint, the platform's rate).
Millis keyRepeatDelay();
Millis keyRepeatInterval();

}  // namespace nubbo::ui
