#pragma once

// Random play: keys (the game's and any other code), New, Pause, toggles of
// the difficulty box and clock advances of every size, with the invariants
// checked after each event.
#include <random>

#include "checker.h"
#include "script_keys.h"
#include "virtual_clock.h"

namespace nubbo::test {

struct RandomPlayer {
    FakeWindow window;
    VirtualClock clock;
    Game game;
    InvariantChecker checker;
    std::mt19937_64 rng;
    std::int64_t events = 0;

    explicit RandomPlayer(std::uint64_t seed)
        : game(window, clock, seed, &checker), checker(game, window), rng(seed) {
        game.load(window.expert);
    }

    void key(int code) { game.key(sim::keyFromCode(code)); }

    void newGame() {
        checker.newGame();
        game.newGame(window.expert);
    }

    // One event, chosen at random; New is rare so that games run to their end.
    void step() {
        ++events;
        const unsigned e = rng() % 1000;
        if (e == 0 || (checker.games == 0 && e < 100)) {
            newGame();
        } else if (e < 5) {
            game.pause();
        } else if (e < 8) {
            window.expert = int(rng() % 2);
        } else if (e < 10) {
            game.focusLost();
        } else if (e < 400) {
            key(towardsLowestColumn());
        } else if (e < 470) {
            static constexpr int kKeys[] = {37, 39, 32, 40, 37, 39, 40};
            key(kKeys[rng() % 7]);
        } else if (e < 500) {
            key(int(rng() % 65536));
        } else {
            clock.advance(game, advanceSize());
        }
        // An over game is started again after a while, as a player would.
        if (game.state().inGame == false && checker.games > 0 && rng() % 50 == 0) newGame();
        checker.afterEvent();
    }

  private:
    // Steers the piece towards the lowest stack, so that games last and
    // reach high levels, long chains and the fastest fall.
    int towardsLowestColumn() {
        const State& s = game.state();
        int best = s.px, bestTop = -1;
        for (int c = 0; c < kCols; ++c) {
            int top = 0;
            auto piece = [&](int r) { return c == s.px && r >= s.py && r <= s.py + 2; };
            while (top < kRows && (s.board[top][c] == EMPTY || piece(top))) ++top;
            if (top > bestTop) best = c, bestTop = top;
        }
        return best < s.px ? 37 : best > s.px ? 39 : 40;
    }

    // Mostly the short steps of a player's pace, now and then a long wait.
    Millis advanceSize() {
        const unsigned k = rng() % 1000;
        if (k < 50) return 0;
        if (k < 200) return Millis(rng() % 10);
        if (k < 400) return 10;
        if (k < 900) return Millis(rng() % 120);
        if (k < 997) return Millis(rng() % 1500);
        return Millis(rng() % 60000);
    }
};

}  // namespace nubbo::test
