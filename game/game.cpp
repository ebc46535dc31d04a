#include "game.h"

namespace nubbo {

Game::Game(Window& window, Clock& clock, std::uint64_t seed, GameEvents* events)
    : rules_(window, seed, events), scheduler_(clock, rules_), presenter_(window) {
    // The timers as the window is created: the key gate and the repaint tick
    // from the start, the fall and the hold only once the rules enable them.
    const Millis now = clock.now();
    Timers& timers = rules_.timers();
    timers.setInterval(TimerId::Fall, kFallAtCreation, now);
    timers.setInterval(TimerId::KeyGate, kGateInterval, now);
    timers.setInterval(TimerId::Repaint, kRepaintInterval, now);
    timers.setInterval(TimerId::Hold, kHoldInterval, now);
    timers.enable(TimerId::KeyGate, now);
    timers.enable(TimerId::Repaint, now);
}

// Every event: nothing after the program ended; the window is told what the
// event changed.
template <typename Handler>
void Game::handle(Handler handler) {
    if (ended()) return;
    scheduler_.handle(handler);
    presenter_.show(rules_.screen(), rules_.state().inGame);
    if (ended()) scheduler_.stop();
}

void Game::load() {
    handle([this] { rules_.onLoad(); });
}

void Game::key(Key key) {
    handle([this, key] { rules_.onKey(key); });
}

void Game::newGame() {
    handle([this] { rules_.onNew(); });
}

void Game::pause() {
    handle([this] { rules_.onPause(); });
}

// The program ends at once: no tick due before it is delivered.
void Game::exit() {
    if (ended()) return;
    rules_.onExit();
    presenter_.show(rules_.screen(), rules_.state().inGame);
    scheduler_.stop();
}

void Game::wake() {
    handle([] {});
}

// A game under way pauses as Game > Pause would, a hold included (its end
// then leaves the fall stopped and "PAUSE" showing); a game over, not yet
// started or already paused is left as it is.
void Game::focusLost() {
    handle([this] {
        const State& s = rules_.state();
        if (s.inGame && !s.paused) rules_.onPause();
    });
}

void Game::openHelp() {
    if (ended()) return;
    scheduler_.freeze();
    presenter_.show(rules_.screen(), rules_.state().inGame);
}

void Game::closeHelp() {
    if (ended()) return;
    scheduler_.thaw();
}

void Game::reseed(std::uint64_t seed) {
    rules_.random().seed(seed);
}

void Game::setBoard(const Tile (&board)[kRows][kCols]) {
    handle([&] {
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < kCols; ++c) rules_.state().board[r][c] = board[r][c];
    });
}

void Game::scan() {
    handle([this] { rules_.settleLanding(); });
}

}  // namespace nubbo
