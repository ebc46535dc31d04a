#pragma once

#include <cstdint>
#include <optional>

#include "clock.h"
#include "presenter.h"
#include "rules.h"
#include "scheduler.h"
#include "timers.h"
#include "window.h"

namespace nubbo {

// The game as a front end sees it. The front end gives it a window to show
// it on, a clock with one wake-up, and a seed for the tiles (from its clock,
// or fixed to replay a game); it forwards the player's keys and commands
// and every wake-up. Each entry point handles one event to completion: the
// ticks due before it, the event, then what changed on the window.
class Game {
  public:
    // `created`: the instant the window was created, if not now. A front end
    // that takes longer to build its window than the game's first ticks
    // gives the instant its program started: the ticks that fell due
    // meanwhile come with the load, and its first frame shows the board as
    // the first repaint leaves it, not a blank one for a tick.
    Game(Window& window, Clock& clock, std::uint64_t seed, GameEvents* events = nullptr,
         std::optional<Millis> created = std::nullopt);

    // The window and its controls exist: start values, the prompt. `expert`:
    // the 高手 box is ticked (the front end tells what it shows). The load
    // belongs to the window's creation: it comes before any tick.
    void load(bool expert);
    void key(Key key);          // a key press
    void newGame(bool expert);  // Game > New (F2), with the 高手 box as it shows
    void pause();               // Game > Pause (F3); the next key resumes
    void exit();                // Game > Exit (F4) or the close box: the window is told to end
    void wake();                // the wake-up asked of the clock has come
    // The window lost the focus or was minimised: a game under way (a piece
    // falling or the game in a hold) pauses as Game > Pause would; a game
    // not started, over or already paused is left alone.
    void focusLost();
    // The help box stands the game still while it is open: no tick comes,
    // and the time it was open counts against no countdown.
    void openHelp();
    void closeHelp();

    // For a front end that replays a script: a new seed for the tiles to
    // come, a board laid by hand, and the match scan run on it at once.
    void reseed(std::uint64_t seed);
    void setBoard(const Board& board);
    void scan();
    // Whether ticks that change nothing may go undelivered (on by default:
    // an idle game then costs no wake-ups). Either way the game and the
    // window go exactly the same.
    void setSkipIdleTicks(bool on) { scheduler_.setSkipIdleTicks(on); }

    // The game as it stands, for front ends that report it. Call wake()
    // first to bring it up to the clock's time.
    const State& state() const { return rules_.state(); }
    const Screen& screen() const { return rules_.screen(); }
    const Timers& timers() const { return rules_.timers(); }
    bool ended() const { return rules_.screen().ended; }

  protected:
    // The rules themselves, for tests that run procedures on boards laid by
    // hand; no front end needs them.
    Rules& rules() { return rules_; }

  private:
    template <typename Handler>
    void handle(Handler handler);

    Rules rules_;
    Scheduler scheduler_;
    Presenter presenter_;
};

}  // namespace nubbo
