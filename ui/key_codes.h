#pragma once

#include <QKeyEvent>

#include "game.h"

namespace nubbo::ui {

// The game's key for a Qt key press: the arrows and the space bar (also on
// the keypad and with modifiers held), every other key Other.
Key gameKey(const QKeyEvent& event);

}  // namespace nubbo::ui
