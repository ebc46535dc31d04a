// The page's half of the game: the window interface and the clock on top of
// the JavaScript of the game's host (web/game_host.js, the page's worker),
// and the entry points the host calls. Every rule stays in the core; this
// file only translates.
#include <emscripten.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <optional>

#include "game.h"

// What the page does for the core. `Module.page` is the object the host
// hands to the module when it creates it; its methods are named as the
// window interface's.
EM_JS(void, page_paint_cell, (int row, int col, int picture),
      { Module.page.paintCell(row, col, picture); });
EM_JS(void, page_show_game_over, (int visible), { Module.page.showGameOver(visible != 0); });
EM_JS(void, page_show_banner, (int visible), { Module.page.showBanner(visible != 0); });
EM_JS(void, page_set_banner_caption, (const char* text, int size),
      { Module.page.setBannerCaption(UTF8ToString(text, size)); });
EM_JS(void, page_set_score, (const char* text, int size),
      { Module.page.setScore(UTF8ToString(text, size)); });
EM_JS(void, page_set_level, (const char* text, int size),
      { Module.page.setLevel(UTF8ToString(text, size)); });
EM_JS(void, page_set_game_under_way, (int on), { Module.page.setGameUnderWay(on != 0); });
EM_JS(void, page_end_program, (), { Module.page.endProgram(); });
EM_JS(double, page_now, (), { return performance.now(); });
EM_JS(void, page_wake_in, (double ms), { Module.page.wakeIn(ms); });

namespace {

using nubbo::Millis;

// The window on the page: every change reaches the page's JavaScript.
class PageWindow : public nubbo::Window {
  public:
    void paintCell(int row, int col, int picture) override { page_paint_cell(row, col, picture); }
    void showGameOver(bool visible) override { page_show_game_over(visible); }
    void showBanner(bool visible) override { page_show_banner(visible); }
    void setBannerCaption(std::string_view text) override {
        page_set_banner_caption(text.data(), int(text.size()));
    }
    void setScore(std::string_view text) override { page_set_score(text.data(), int(text.size())); }
    void setLevel(std::string_view text) override { page_set_level(text.data(), int(text.size())); }
    void setGameUnderWay(bool on) override { page_set_game_under_way(on); }
    void endProgram() override { page_end_program(); }
};

// The core's clock on performance.now() (monotonic), in whole milliseconds,
// with one setTimeout for the single wake-up the core asks for. The core
// asks after every event, mostly for the instant already asked for (a key
// seldom moves the next fall step): the timeout pending for it stays, as a
// new one would cost the page a clear and a set for nothing.
class PageClock : public nubbo::Clock {
  public:
    Millis now() const override { return Millis(std::floor(page_now())); }
    void wakeAt(std::optional<Millis> due) override {
        if (due == armed_) return;
        armed_ = due;
        page_wake_in(due ? std::max(0.0, double(*due) - page_now()) : -1.0);
    }
    // The timeout fired: none is pending any more.
    void woken() { armed_.reset(); }

  private:
    std::optional<Millis> armed_;
};

struct Page {
    explicit Page(std::uint64_t seed) : game(window, clock, seed) {}
    PageWindow window;
    PageClock clock;
    nubbo::Game game;
};

std::unique_ptr<Page> page;

}  // namespace

extern "C" {

// Creates the game, dealing from `seed` (a whole number below 2^53, which
// the page picks at random unless the address names one), and loads it with
// the 高手 box as it shows (`expert` non-zero: ticked).
EMSCRIPTEN_KEEPALIVE void nubbo_start(double seed, int expert) {
    page = std::make_unique<Page>(std::uint64_t(seed));
    page->game.load(expert != 0);
}

// A key press, one entry point for each key the game tells apart; the page
// maps the browser's keys (web/keys.js) and a finger's gestures to these.
EMSCRIPTEN_KEEPALIVE void nubbo_key_left() {
    page->game.key(nubbo::Key::Left);
}
EMSCRIPTEN_KEEPALIVE void nubbo_key_right() {
    page->game.key(nubbo::Key::Right);
}
EMSCRIPTEN_KEEPALIVE void nubbo_key_rotate() {
    page->game.key(nubbo::Key::Rotate);
}
EMSCRIPTEN_KEEPALIVE void nubbo_key_down() {
    page->game.key(nubbo::Key::Down);
}
EMSCRIPTEN_KEEPALIVE void nubbo_key_other() {
    page->game.key(nubbo::Key::Other);
}
// Game > New, with the 高手 box as it shows (`expert` non-zero: ticked).
EMSCRIPTEN_KEEPALIVE void nubbo_new(int expert) {
    page->game.newGame(expert != 0);
}
EMSCRIPTEN_KEEPALIVE void nubbo_pause() {
    page->game.pause();
}
EMSCRIPTEN_KEEPALIVE void nubbo_exit() {
    page->game.exit();
}
EMSCRIPTEN_KEEPALIVE void nubbo_focus_lost() {
    page->game.focusLost();
}
EMSCRIPTEN_KEEPALIVE void nubbo_open_help() {
    page->game.openHelp();
}
EMSCRIPTEN_KEEPALIVE void nubbo_close_help() {
    page->game.closeHelp();
}
EMSCRIPTEN_KEEPALIVE void nubbo_wake() {
    page->clock.woken();
    page->game.wake();
}

}  // extern "C"
