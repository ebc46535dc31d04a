#include "key_codes.h"

namespace nubbo::ui {

Key gameKey(const QKeyEvent& event) {
    switch (event.key()) {
        case Qt::Key_Left:
            return Key::Left;
        case Qt::Key_Right:
            return Key::Right;
        case Qt::Key_Space:
            return Key::Rotate;
        case Qt::Key_Down:
            return Key::Down;
        default:
            return Key::Other;
    }
}

}  // namespace nubbo::ui
