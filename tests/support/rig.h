#pragma once

// A game on a virtual clock with a fake window, its rules in reach.
#include <string>
#include <vector>

#include "boards.h"
#include "fake_window.h"
#include "game.h"
#include "virtual_clock.h"

namespace nubbo::test {

inline constexpr auto Fall = TimerId::Fall;
inline constexpr auto KeyGate = TimerId::KeyGate;
inline constexpr auto Repaint = TimerId::Repaint;
inline constexpr auto Hold = TimerId::Hold;

// The façade with its rules in reach, for procedures run on boards laid by
// hand. What a procedure called directly draws reaches the fake window only
// with the next event; read `screen()` in between.
struct TestGame : Game {
    using Game::Game;
    using Game::rules;
    State& state() { return rules().state(); }
    const State& state() const { return Game::state(); }
};

// What each clearing pass painted, and how often pieces were dealt.
struct Recorder : GameEvents {
    struct Pass {
        int combo;
        Rows rows;
        std::int64_t score;
        std::string banner;  // "-" when hidden
    };
    const Game* game = nullptr;
    std::vector<Pass> passes;
    int spawns = 0;
    int overs = 0;

    void passPainted() override {
        const State& s = game->state();
        const Screen& shown = game->screen();
        passes.push_back(
            {s.combo, boardRows(s), s.score, shown.bannerShown ? shown.bannerCaption : "-"});
    }
    void spawned() override { ++spawns; }
    void gameOver() override { ++overs; }
};

// A game loaded as the window does at start-up, that reports its passes,
// spawns and game overs.
struct Rig {
    FakeWindow window;
    VirtualClock clock;
    Recorder events;
    TestGame game;

    explicit Rig(std::uint64_t seed = 1, bool expert = false) : game(window, clock, seed, &events) {
        events.game = &game;
        window.expert = expert;
        game.load(expert);
    }
    State& s() { return game.state(); }
    Rules& rules() { return game.rules(); }
    const Timers& timers() const { return game.timers(); }
    void advance(Millis ms) { clock.advance(game, ms); }
    void key(Key key) { game.key(key); }
    // Game > New, with the 高手 box as the test ticked it.
    void newGame() { game.newGame(window.expert); }
};

}  // namespace nubbo::test
