#pragma once

#include "constants.h"

namespace nubbo::sim {

// A script's key codes: the arrows and the space bar, as Windows numbers
// them. Any other code is a key the game does not use.
inline constexpr int kCodeLeft = 37;
inline constexpr int kCodeRight = 39;
inline constexpr int kCodeSpace = 32;
inline constexpr int kCodeDown = 40;

inline Key keyFromCode(int code) {
    switch (code) {
        case kCodeLeft:
            return Key::Left;
        case kCodeRight:
            return Key::Right;
        case kCodeSpace:
            return Key::Rotate;
        case kCodeDown:
            return Key::Down;
        default:
            return Key::Other;
    }
}

}  // namespace nubbo::sim
