#include "virtual_clock.h"

#include "game.h"

namespace nubbo {

void VirtualClock::advance(Game& game, Millis ms) {
    const Millis target = now_ + ms;
    while (wake_ && *wake_ <= target) {
        if (*wake_ > now_) now_ = *wake_;
        game.wake();
    }
    now_ = target;
}

}  // namespace nubbo
