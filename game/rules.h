#pragma once

#include <cstdint>

#include "matching.h"
#include "random.h"
#include "screen.h"
#include "state.h"
#include "timers.h"

namespace nubbo {

// Told of what the rules do, for front ends that report it (the simulator
// prints these) and for tests; the window needs none of it.
class GameEvents {
  public:
    virtual ~GameEvents() = default;
    virtual void passPainted() {}  // a clearing pass has painted its cleared cells
    virtual void spawned() {}      // a new piece stands in the spawn column
    virtual void gameOver() {}
    virtual void fallStep() {}  // a tick of the fall timer is being handled
};

// Whom the rules tell of what they do. A copy tells nobody: a copy of the
// game plays on by itself.
class EventSink {
  public:
    explicit EventSink(GameEvents* to = nullptr) : to_(to) {}
    EventSink(const EventSink&) {}
    EventSink& operator=(const EventSink&) = delete;

    void tell(void (GameEvents::*event)()) const {
        if (to_) (to_->*event)();
    }

  private:
    GameEvents* to_ = nullptr;
};

// The game's state, its four timers and its procedures: the rules of the
// game, with no toolkit and no clock of their own. They draw into `screen`;
// the scheduler decides when each handler runs and tells them the instant.
//
// A copy is a complete game of its own: its own timers, the same draws to
// come, and nobody told of what it does. The scheduler plays copies ahead to
// find out what a tick would do before it wakes the platform for it.
class Rules {
  public:
    // The timers as the window is created, as of `now`: the key gate and the
    // repaint tick from the start, the fall and the hold only once enabled.
    Rules(std::uint64_t seed, GameEvents* events, Millis now = 0);
    Rules(const Rules&) = default;
    Rules& operator=(const Rules&) = delete;

    // Handlers of the window's events. `expert`: the 高手 box is ticked.
    void onLoad(bool expert);  // start values; the prompt "按F2"
    void onNew(bool expert);   // Game > New: a new game and its first piece
    void onPause();            // Game > Pause: the fall stops until a key
    void onExit();             // Game > Exit: the program ends
    void onKey(Key key);       // a key press, through the key gate
    void onTick(TimerId);      // a tick of one of the four timers
    void onFocusLost();        // the window lost the focus: a game under way pauses

    // The procedures, public for tests that run them on boards laid by hand.
    void dealPiece();           // deals the next piece, or ends the game
    void endGame();             // game over
    void settleLanding();       // after a landing: clears every run, then deals
    void clearRuns();           // the sweeps, in cycles, until a cycle finds no run
    void clearRun(const Run&);  // one clearing pass: the run's group goes
    void paintAndScore();       // paints, then applies a chain, a level, the texts

    State& state() { return s_; }
    const State& state() const { return s_; }
    const Screen& screen() const { return screen_; }
    Timers& timers() { return timers_; }
    const Timers& timers() const { return timers_; }
    Random& random() { return random_; }
    // The instant of the event being handled: timers changed now count from it.
    void setNow(Millis now) { now_ = now; }

    // Same state, same screen, same draws to come: everything a tick can
    // change but the timers.
    bool sameGame(const Rules& other) const {
        return s_ == other.s_ && screen_ == other.screen_ && random_ == other.random_;
    }

  private:
    // Timer handlers.
    void onFallTick();     // the piece falls a row, or lands
    void onKeyGateTick();  // the key gate reopens
    void onRepaintTick();  // the periodic repaint
    void onHoldEnd();      // a hold is over: the game goes on

    void setStartValues(bool expert);  // what load and New both set
    void writePiece();
    void shiftTo(int column);

    void paintBoard();  // every cell's picture into the screen model
    void applyChain();  // a chain's banner, bonus and hold; else the fall goes on
    void applyLevel();  // past the next level's score: faster, a banner, a hold
    void startHold();   // the game stands still for one hold interval
    void showBanner(std::string caption);

    // The timers, changed as of the event being handled.
    void enable(TimerId t) { timers_.enable(t, now_); }
    void disable(TimerId t) { timers_.disable(t); }
    void setInterval(TimerId t, std::int32_t ms) { timers_.setInterval(t, ms, now_); }

    State s_{};
    Screen screen_;
    Timers timers_;
    Millis now_ = 0;
    std::uint64_t seed_;
    Random random_;
    EventSink events_;
};

}  // namespace nubbo
