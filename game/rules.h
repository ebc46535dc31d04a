#pragma once

#include <cstdint>

#include "random.h"
#include "screen.h"
#include "state.h"
#include "timers.h"
#include "window.h"

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

// The window's four timers as the rules drive them: each change takes
// effect at `now`, the instant of the event being handled.
struct TimerPanel {
    Timers* model = nullptr;
    Millis now = 0;

    void enable(TimerId t) { model->enable(t, now); }
    void disable(TimerId t) { model->disable(t); }
    bool enabled(TimerId t) const { return model->enabled(t); }
    std::int32_t interval(TimerId t) const { return model->interval(t); }
    void setInterval(TimerId t, std::int32_t ms) { model->setInterval(t, ms, now); }
};

// The game window's state and its procedures: the rules of the game, with
// no toolkit and no clock of their own. They draw into `screen` and drive
// the timers through `timers`; the scheduler decides when each handler runs.
// A copy is a complete, independent game, which the scheduler uses to find
// out what a tick would do before it wakes the platform for it.
class Rules {
  public:
    Rules(Timers& timers, const Window& controls, std::uint64_t seed, GameEvents* events);

    // Handlers of the window's events.
    void Form_Load();                           // start values; the prompt "按F2"
    void New_Click();                           // Game > New: a new game and its first piece
    void Pause_Click();                         // Game > Pause: the fall stops until a key
    void Exit_Click();                          // Game > Exit: the program ends
    void Form_KeyDown(int KeyCode, int Shift);  // a key press, through the key gate
    void Timer1_Timer();                        // the fall step
    void Timer2_Timer();                        // reopens the key gate
    void Timer3_Timer();                        // the periodic repaint
    void Timer4_Timer();                        // the end of a hold
    void tick(TimerId t);                       // the handler of timer `t`

    // Procedures.
    void NEWOBJ();                          // deals the next piece, or ends the game
    void over();                            // game over
    void check();                           // the match scan after a landing
    void check2();                          // one clearing pass of the run found
    void checkrun(int xx, int yy, int no);  // grows the group from cell (xx, yy)
    void checkl(int xx, int yy, int no);    // probes the left neighbour
    void checkr(int xx, int yy, int no);    // probes the right neighbour
    void checku(int xx, int yy, int no);    // probes the neighbour above
    void checkd(int xx, int yy, int no);    // probes the neighbour below
    void display(int arry, int arrx);       // the one repaint: cells, banners, score

    // A piece is falling: a game is on, not paused, not in a hold.
    bool running() const;

    State& state() { return s_; }
    const State& state() const { return s_; }
    const Screen& screen() const { return screen_; }
    Random& random() { return random_; }
    // Drives `timers` from now on, at the instant `now`.
    void attach(Timers& timers) { timers_.model = &timers; }
    void setNow(Millis now) { timers_.now = now; }
    // Tells nobody of what happens from now on (a trial run).
    void silence() { events_ = nullptr; }

    // Same state, same screen, same draws to come.
    bool sameGame(const Rules& other) const {
        return s_ == other.s_ && screen_ == other.screen_ && random_ == other.random_;
    }

  private:
    void clearBoard();
    void writePiece();
    void probe(int c, int r, int no);
    void startHold();
    void showLabel(Label label, bool visible);
    void paintCell(int row, int col);

    State s_{};
    Screen screen_;
    TimerPanel timers_;
    const Window* controls_;  // read for `Check1` only
    std::uint64_t seed_;
    Random random_;
    GameEvents* events_;
};

}  // namespace nubbo
