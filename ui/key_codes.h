#pragma once

#include <QKeyEvent>

namespace nubbo::ui {

// The game's key codes for a Qt key press: the Windows virtual-key codes
// (left 37, right 39, space 32, down 40, letters 65 to 90, ...). A key with no
// code of its own maps to 255, which no game action uses.
int virtualKeyCode(const QKeyEvent& event);

// Shift 1, Ctrl 2, Alt 4, as the key handler is given them.
int shiftMask(Qt::KeyboardModifiers modifiers);

}  // namespace nubbo::ui
