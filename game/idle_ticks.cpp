// Ticks that would change nothing. The key gate and the repaint tick every
// 10 ms, but most of their ticks find nothing to do; the platform need not
// be woken for those, as long as their countdowns go on as if it had been.
#include <algorithm>

#include "game.h"

namespace nubbo {

bool Game::tickChangesNothing(TimerId t) const {
    switch (t) {
        case TimerId::Timer2:
            return s_.active == 1;
        case TimerId::Timer3:
            // An ordinary repaint of what is already shown, re-asserting
            // timer settings that already hold, with no level-up due.
            return shown_.valid && s_.combo <= 1 && timers_.enabled(TimerId::Timer2) &&
                   timers_.interval(TimerId::Timer1) == s_.speed &&
                   timers_.interval(TimerId::Timer3) == 10 && s_.score <= s_.nextlevel &&
                   s_.score == shown_.score && s_.level == shown_.level &&
                   std::equal(&s_.board[0][0], &s_.board[0][0] + kRows * kCols,
                              &shown_.board[0][0]);
        default:
            return false;  // a fall step or the end of a hold always acts
    }
}

bool Game::tickShows(TimerId t) const {
    // The key gate's only effect is `active`, which only the key handler
    // reads, and every event delivers the ticks due before it first.
    if (t == TimerId::Timer2) return false;
    return !tickChangesNothing(t);
}

// Elides every tick that would change nothing and comes, in due order,
// before the first tick due by `now` that matters. Nothing changes the game
// before that tick, so the elided ticks stay no-ops all the way.
void Game::skipIdleTicks(Millis now) {
    const auto first = timers_.firstDue(now, [this](TimerId t) { return !tickChangesNothing(t); });
    const Millis until = first ? timers_.due(*first) : now;
    const int firstIndex = first ? static_cast<int>(*first) : kTimerCount;
    for (int k = 0; k < kTimerCount; ++k) {
        const auto t = static_cast<TimerId>(k);
        if (tickChangesNothing(t)) timers_.skipTicks(t, until, k < firstIndex);
    }
}

}  // namespace nubbo
