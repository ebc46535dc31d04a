#include "game.h"

namespace nubbo {

Game::Game(Window& window, Clock& clock, std::uint64_t seed, GameEvents* events,
           std::optional<Millis> created)
    : rules_(seed, events, created.value_or(clock.now())),
      scheduler_(clock, rules_),
      presenter_(window) {}

// Every event: nothing after the program ended; the window is told what the
// event changed.
template <typename Handler>
void Game::handle(Handler handler) {
    if (ended()) return;
    scheduler_.handle(handler);
    presenter_.show(rules_.screen(), rules_.state().inGame);
    if (ended()) scheduler_.stop();
}

void Game::load(bool expert) {
    if (ended()) return;
    scheduler_.handleBeforeDue([this, expert] { rules_.onLoad(expert); });
    presenter_.show(rules_.screen(), rules_.state().inGame);
}

void Game::key(Key key) {
    handle([this, key] { rules_.onKey(key); });
}

void Game::newGame(bool expert) {
    handle([this, expert] { rules_.onNew(expert); });
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
    handle([this] { rules_.onFocusLost(); });
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

void Game::setBoard(const Board& board) {
    handle([&] { rules_.state().board = board; });
}

void Game::scan() {
    handle([this] { rules_.settleLanding(); });
}

}  // namespace nubbo
