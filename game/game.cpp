#include "game.h"

namespace nubbo {

namespace {
int keyCode(Key key) {
    switch (key) {
        case Key::Left:
            return kKeyLeft;
        case Key::Right:
            return kKeyRight;
        case Key::Rotate:
            return kKeySpace;
        case Key::Down:
            return kKeyDown;
        case Key::Other:
            break;
    }
    return kKeyOther;
}
}  // namespace

Game::Game(Window& window, Clock& clock, std::uint64_t seed, GameEvents* events)
    : rules_(timers_, window, seed, events),
      scheduler_(clock, rules_, timers_),
      presenter_(window) {
    // The timers as the window is created: the key gate and the repaint tick
    // from the start, the fall and the hold only once the rules enable them.
    const Millis now = clock.now();
    timers_.setInterval(TimerId::Timer1, kFallAtCreation, now);
    timers_.setInterval(TimerId::Timer2, kGateInterval, now);
    timers_.setInterval(TimerId::Timer3, kRepaintInterval, now);
    timers_.setInterval(TimerId::Timer4, kHoldInterval, now);
    timers_.enable(TimerId::Timer2, now);
    timers_.enable(TimerId::Timer3, now);
}

// Every event: nothing after the program ended; the window is told what the
// event changed.
template <typename Handler>
void Game::handle(Handler handler) {
    if (ended()) return;
    scheduler_.handle(handler);
    presenter_.show(rules_.screen());
    if (ended()) scheduler_.stop();
}

void Game::load() {
    handle([this] { rules_.Form_Load(); });
}

void Game::key(Key key) {
    handle([this, key] { rules_.Form_KeyDown(keyCode(key), 0); });
}

void Game::newGame() {
    handle([this] { rules_.New_Click(); });
}

void Game::pause() {
    handle([this] { rules_.Pause_Click(); });
}

// The program ends at once: no tick due before it is delivered.
void Game::exit() {
    if (ended()) return;
    rules_.Exit_Click();
    presenter_.show(rules_.screen());
    scheduler_.stop();
}

void Game::wake() {
    handle([] {});
}

void Game::focusLost() {
    handle([this] {
        if (rules_.running()) rules_.Pause_Click();
    });
}

void Game::openHelp() {
    if (ended()) return;
    scheduler_.freeze();
    presenter_.show(rules_.screen());
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
    handle([this] { rules_.check(); });
}

}  // namespace nubbo
