// The page's half of the game: the window interface and the clock on top of
// the page's JavaScript (web/page.js), and the entry points the page calls.
// Every rule stays in the core; this file only translates.
#include <emscripten.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <optional>

#include "game.h"
#include "script_keys.h"

// What the page does for the core. `Module.page` is the object the page
// hands to the module when it creates it.
EM_JS(void, page_paint_cell, (int row, int col, int picture),
      { Module.page.paintCell(row, col, picture); });
EM_JS(void, page_show_label, (int label, int visible),
      { Module.page.showLabel(label, visible != 0); });
EM_JS(void, page_set_caption, (const char* text, int size),
      { Module.page.setCaption(UTF8ToString(text, size)); });
EM_JS(void, page_set_text, (int box, const char* text, int size),
      { Module.page.setText(box, UTF8ToString(text, size)); });
EM_JS(int, page_check1, (), { return Module.page.check1() ? 1 : 0; });
EM_JS(void, page_end_program, (), { Module.page.endProgram(); });
EM_JS(double, page_now, (), { return performance.now(); });
EM_JS(void, page_wake_in, (double ms), { Module.page.wakeIn(ms); });

namespace {

using nubbo::Millis;

// The window on the page: every change reaches the page's JavaScript.
class PageWindow : public nubbo::Window {
  public:
    void paintCell(int row, int col, int picture) override { page_paint_cell(row, col, picture); }
    void showLabel(nubbo::Label label, bool visible) override {
        page_show_label(label == nubbo::Label::Label1 ? 1 : 2, visible);
    }
    void setLabel2Caption(std::string_view caption) override {
        page_set_caption(caption.data(), int(caption.size()));
    }
    void setText(nubbo::TextBox box, std::string_view text) override {
        page_set_text(box == nubbo::TextBox::Text1 ? 1 : 4, text.data(), int(text.size()));
    }
    bool check1Ticked() const override { return page_check1() != 0; }
    void endProgram() override { page_end_program(); }
};

// The core's clock on performance.now() (monotonic), in whole milliseconds,
// with one setTimeout for the single wake-up the core asks for.
class PageClock : public nubbo::Clock {
  public:
    Millis now() const override { return Millis(std::floor(page_now())); }
    void wakeAt(std::optional<Millis> due) override {
        page_wake_in(due ? std::max(0.0, double(*due) - page_now()) : -1.0);
    }
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
// the page picks at random unless the address names one), and loads it.
EMSCRIPTEN_KEEPALIVE void nubbo_start(double seed) {
    page = std::make_unique<Page>(std::uint64_t(seed));
    page->game.load();
}

// A key press, as the Windows virtual-key code the browser reports.
EMSCRIPTEN_KEEPALIVE void nubbo_key(int code) {
    page->game.key(nubbo::sim::keyFromCode(code));
}
EMSCRIPTEN_KEEPALIVE void nubbo_new() {
    page->game.newGame();
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
    page->game.wake();
}

}  // extern "C"
