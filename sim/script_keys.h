#pragma once

#include "constants.h"
#include "game.h"

namespace nubbo::sim {

// A script's key code, as the key handler compares codes: the arrows and
// the space bar are the game's keys, any other code is a key it does not use.
inline Key keyFromCode(int code) {
    switch (code) {
        case kKeyLeft:
            return Key::Left;
        case kKeyRight:
            return Key::Right;
        case kKeySpace:
            return Key::Rotate;
        case kKeyDown:
            return Key::Down;
        default:
            return Key::Other;
    }
}

}  // namespace nubbo::sim
