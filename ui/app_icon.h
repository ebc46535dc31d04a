#pragma once

#include <QIcon>

namespace nubbo::ui {

// The window's icon, 16 to 128 pixels: its pictures are read each time the
// icon is drawn and not kept, as the window hands them to the window system
// once. The largest ones a desktop shows come from the installed theme
// icons, named by the desktop file.
QIcon appIcon();

}  // namespace nubbo::ui
