#pragma once

namespace nubbo::ui {

// The desktop's own style for the whole application, with one thing left
// out: the icon of the menu bar's overflow button. Qt's menu bar loads it
// as it is built, and reading those pictures loads every image plugin Qt
// has (GIF, ICO, JPEG and libjpeg) on the way to the first frame. The
// window is fixed and wide enough for its two menus, so the button never
// shows. Call once the application object exists, before any widget.
void installAppStyle();

}  // namespace nubbo::ui
