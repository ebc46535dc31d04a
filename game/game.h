#pragma once

#include <optional>

#include "clock.h"
#include "random.h"
#include "state.h"
#include "timers.h"
#include "window.h"

namespace nubbo {

// Notified of what the game does, for front ends that report it (the
// simulator prints these); the window needs none of it.
class GameEvents {
  public:
    virtual ~GameEvents() = default;
    virtual void passPainted() {}  // a clearing pass has painted its cleared cells
    virtual void spawned() {}      // a new piece stands in the spawn column
    virtual void gameOver() {}
    virtual void fallStep() {}  // a tick of the fall timer is being handled
};

// The game window's state and procedures, toolkit-free. The platform feeds
// it events through the entry points below; the procedures are public so that
// tests can run them on boards built by hand.
class Game {
  public:
    Game(Window& window, Clock& clock, GameEvents* events = nullptr);

    // Entry points for the platform. Each handles one event to completion
    // and then asks the clock to wake it at the next due tick.
    void load();
    void keyDown(int keyCode, int shift);
    void newGame();
    void pause();
    void exit();
    void wake();  // delivers, one at a time, every timer tick due by now
    // The window lost the focus or was minimised: a falling piece pauses as
    // Game > Pause would; a game idle, over, paused or in a hold is left alone.
    void focusLost();
    // The help box stands the game still: no tick is delivered while it is
    // open, and the time it was open counts against no countdown.
    void freeze();
    void thaw();

    // Handlers of the window's events.
    void Form_Load();
    void New_Click();
    void Pause_Click();
    void Exit_Click();
    void Form_KeyDown(int KeyCode, int Shift);
    void Timer1_Timer();
    void Timer2_Timer();
    void Timer3_Timer();
    void Timer4_Timer();

    // Procedures.
    void NEWOBJ();
    void over();
    void check();
    void check2();
    void checkrun(int xx, int yy, int no);
    void checkl(int xx, int yy, int no);
    void checkr(int xx, int yy, int no);
    void checku(int xx, int yy, int no);
    void checkd(int xx, int yy, int no);
    void display(int arry, int arrx);

    // Whether the platform is woken for ticks whose handler would change
    // nothing (on by default: an idle game then costs no wake-ups). Either
    // way every countdown runs exactly the same.
    void setSkipIdleTicks(bool on) { skipIdleTicks_ = on; }
    bool tickChangesNothing(TimerId t) const;
    // Whether a tick can change what the window shows, so that the platform
    // must be woken for it. Other ticks are delivered, in due order, at the
    // next wake-up or event.
    bool tickShows(TimerId t) const;

    State& state() { return s_; }
    const State& state() const { return s_; }
    const Timers& timers() const { return timers_; }
    Random& random() { return random_; }
    bool frozen() const { return frozenAt_.has_value(); }
    // A piece is falling: a game is on, not paused, not in a hold.
    bool running() const;

  private:
    template <typename Handler>
    void handle(Handler handler);
    void deliver(TimerId t);
    void deliverDue();
    void skipIdleTicks(Millis now);
    void rearm();
    void enable(TimerId t) { timers_.enable(t, clock_.now()); }
    void disable(TimerId t) { timers_.disable(t); }
    void setInterval(TimerId t, std::int32_t ms) { timers_.setInterval(t, ms, clock_.now()); }
    void clearBoard();
    void writePiece();
    void probe(int c, int r, int no);
    void startHold();

    Window& window_;
    Clock& clock_;
    GameEvents* events_;
    State s_{};
    Timers timers_;
    Random random_;
    std::optional<Millis> frozenAt_;
    bool skipIdleTicks_ = true;

    // What the last display showed, to tell a repaint that would change
    // nothing.
    struct Shown {
        bool valid = false;
        Tile board[kRows][kCols];
        std::int64_t score = 0;
        std::int64_t level = 0;
    } shown_;
};

}  // namespace nubbo
