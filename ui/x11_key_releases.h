#pragma once

class QWidget;

namespace nubbo::ui {

// Stops the X server sending key releases to `window`'s own X window. The
// game acts on presses alone and swallows every release, yet each release
// would wake Qt's event reader and then the main thread for nothing: some
// two fifths of what a key press cost. Call it once the window is shown.
// Returns false, changing nothing, when the window is not on X11.
bool stopKeyReleases(QWidget& window);

}  // namespace nubbo::ui
