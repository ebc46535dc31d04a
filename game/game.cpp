#include "game.h"

namespace nubbo {

namespace {
// The timers as the window is created: the key gate and the repaint tick
// from the start, the fall and the hold only once code enables them.
constexpr std::int32_t kFallAtCreation = 400;
constexpr std::int32_t kGateInterval = 10;
constexpr std::int32_t kRepaintInterval = 10;
constexpr std::int32_t kHoldInterval = 1000;
}  // namespace

Game::Game(Window& window, Clock& clock, GameEvents* events)
    : window_(window), clock_(clock), events_(events) {
    const Millis now = clock_.now();
    timers_.setInterval(TimerId::Timer1, kFallAtCreation, now);
    timers_.setInterval(TimerId::Timer2, kGateInterval, now);
    timers_.setInterval(TimerId::Timer3, kRepaintInterval, now);
    timers_.setInterval(TimerId::Timer4, kHoldInterval, now);
    timers_.enable(TimerId::Timer2, now);
    timers_.enable(TimerId::Timer3, now);
    for (auto& row : s_.mark)
        for (auto& m : row) m = kUnused;
    for (auto& slot : s_.list) slot = kUnused;
}

void Game::load() {
    Form_Load();
    rearm();
}

// Every event from the platform: ticks that fell due before it come first,
// then its handler, then the wake-up for the next tick that matters.
template <typename Handler>
void Game::handle(Handler handler) {
    if (frozen()) return;  // the help box is open
    deliverDue();
    handler();
    rearm();
}

void Game::keyDown(int keyCode, int shift) {
    handle([&] { Form_KeyDown(keyCode, shift); });
}

void Game::newGame() {
    handle([&] { New_Click(); });
}

void Game::pause() {
    handle([&] { Pause_Click(); });
}

void Game::exit() {
    Exit_Click();
}

void Game::focusLost() {
    handle([&] {
        if (running()) Pause_Click();
    });
}

void Game::wake() {
    handle([] {});
}

// Ticks come before any event that arrives after they fell due.
void Game::deliverDue() {
    const Millis now = clock_.now();
    for (;;) {
        if (skipIdleTicks_) skipIdleTicks(now);
        const auto t = timers_.firstDue(now);
        if (!t) break;
        // A tick that woke nobody is delivered as if on time; one that woke
        // the platform late counts from its delivery, with no catch-up burst.
        const bool lazy = skipIdleTicks_ && !tickShows(*t);
        timers_.reschedule(*t, lazy ? timers_.due(*t) : now);
        deliver(*t);
    }
}

void Game::freeze() {
    if (frozen()) return;
    frozenAt_ = clock_.now();
    clock_.wakeAt(std::nullopt);
}

void Game::thaw() {
    if (!frozen()) return;
    timers_.postpone(clock_.now() - *frozenAt_);
    frozenAt_.reset();
    rearm();
}

void Game::deliver(TimerId t) {
    switch (t) {
        case TimerId::Timer1:
            Timer1_Timer();
            break;
        case TimerId::Timer2:
            Timer2_Timer();
            break;
        case TimerId::Timer3:
            Timer3_Timer();
            break;
        case TimerId::Timer4:
            Timer4_Timer();
            break;
    }
}

void Game::rearm() {
    if (frozen()) return clock_.wakeAt(std::nullopt);
    clock_.wakeAt(timers_.nextDue([this](TimerId t) { return !skipIdleTicks_ || tickShows(t); }));
}

void Game::clearBoard() {
    for (s_.i = 0; s_.i <= s_.maxrow; ++s_.i)
        for (s_.j = 0; s_.j <= s_.maxcol; ++s_.j) s_.board[s_.i][s_.j] = EMPTY;
}

void Game::writePiece() {
    s_.board[s_.py][s_.px] = s_.piece[0];
    s_.board[s_.py + 1][s_.px] = s_.piece[1];
    s_.board[s_.py + 2][s_.px] = s_.piece[2];
}

void Game::Form_Load() {
    s_.px = 3;
    s_.py = 0;
    s_.score = 0;
    s_.maxcol = 7;
    s_.maxrow = 12;
    s_.active = 1;
    s_.speed = window_.check1Value() == 0 ? 500 : 400;
    s_.nextlevel = 100;
    s_.level = 1;
    clearBoard();
    random_.seedFromClock();
    window_.showLabel(Label::Label2, true);  // still carries the prompt "按F2"
}

void Game::New_Click() {
    enable(TimerId::Timer1);
    setInterval(TimerId::Timer1, 400);
    enable(TimerId::Timer2);
    enable(TimerId::Timer3);
    window_.showLabel(Label::Label1, false);
    window_.showLabel(Label::Label2, false);
    s_.px = 3;
    s_.py = 0;
    s_.score = 0;
    s_.maxcol = 7;
    s_.maxrow = 12;
    s_.active = 1;
    s_.speed = 400;
    s_.nextlevel = 100;
    s_.level = 1;
    clearBoard();
    if (window_.check1Value() == 0) {
        s_.speed = 500;
        s_.kinds = 5;
    } else {
        s_.speed = 400;
        s_.kinds = 6;
    }
    s_.inGame = true;
    s_.paused = false;
    NEWOBJ();
}

}  // namespace nubbo
