#pragma once

namespace nubbo::ui {

// Ends the process with `status` at once when the window is on Wayland,
// without tearing Qt down: Qt 6.4's Wayland plugin can deadlock in that
// teardown (its event thread waits for a read the main thread prepared and
// never makes), leaving a process without a window. The game has nothing to
// save, so nothing is lost. Elsewhere it returns and teardown runs as usual.
void endNowOnWayland(int status);

}  // namespace nubbo::ui
