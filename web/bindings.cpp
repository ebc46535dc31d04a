// The page's half of the game: the window interface and the clock on top of
// the page's JavaScript (web/page.js), and the entry points the page calls.
// Every rule stays in the core; this file only translates.
#include <emscripten.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <optional>

#include "game.h"

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

constexpr int kPitch = 24;  // points per cell
constexpr int kLeft = 10;   // x of column 0, in points
constexpr int kTop = 50;    // y of row 0, in points

class PageWindow : public nubbo::Window {
  public:
    void showLabel(nubbo::Label label, bool visible) override {
        page_show_label(label == nubbo::Label::Label1 ? 1 : 2, visible);
    }
    void setLabel2Caption(std::string_view caption) override {
        page_set_caption(caption.data(), int(caption.size()));
    }
    void setText(nubbo::TextBox box, std::string_view text) override {
        page_set_text(box == nubbo::TextBox::Text1 ? 1 : 4, text.data(), int(text.size()));
    }
    int check1Value() const override { return page_check1(); }
    // The core paints every cell on every repaint; only a change reaches
    // the page.
    void paintPicture(int picture, int x, int y) override {
        const int col = (x - kLeft) / kPitch, row = (y - kTop) / kPitch;
        if (x < kLeft || y < kTop || col >= nubbo::kCols || row >= nubbo::kRows) return;
        if (shown_[row][col] == picture) return;
        shown_[row][col] = picture;
        page_paint_cell(row, col, picture);
    }
    void endProgram() override { page_end_program(); }

  private:
    int shown_[nubbo::kRows][nubbo::kCols] = {};
};

// The core's clock on performance.now(), with one setTimeout for the single
// wake-up the core asks for.
class PageClock : public nubbo::Clock {
  public:
    Millis now() const override {
        if (onTime_) return *onTime_;
        // Never backwards, even after a wake-up counted as on time.
        last_ = std::max(last_, Millis(std::floor(page_now())));
        return last_;
    }
    void wakeAt(std::optional<Millis> due) override {
        due_ = due;
        page_wake_in(due ? std::max(0.0, double(*due) - page_now()) : -1.0);
    }
    // A timeout comes a little early or late by the page's clock; within
    // that slack the wake-up counts as on time, so that the next tick is
    // scheduled from the due instant and the fall does not drift.
    template <typename Wake>
    void woken(Wake wake) {
        const Millis actual = Millis(std::floor(page_now()));
        if (due_ && std::abs(actual - *due_) <= kOnTimeMs) onTime_ = std::max(*due_, last_);
        if (onTime_) last_ = *onTime_;
        wake();
        onTime_.reset();
    }

  private:
    static constexpr Millis kOnTimeMs = 2;
    std::optional<Millis> due_;
    std::optional<Millis> onTime_;
    mutable Millis last_ = 0;
};

struct Page {
    PageWindow window;
    PageClock clock;
    nubbo::Game game{window, clock};
};

std::unique_ptr<Page> page;

}  // namespace

extern "C" {

// Creates the game, dealing from `seed` (a whole number below 2^53, which
// the page picks at random unless the address names one), and loads it.
EMSCRIPTEN_KEEPALIVE void nubbo_start(double seed) {
    page = std::make_unique<Page>();
    page->game.load();
    page->game.random().seed(std::uint64_t(seed));
}

// A key press, as the Windows virtual-key code the browser reports.
EMSCRIPTEN_KEEPALIVE void nubbo_key(int code, int shift) {
    page->game.keyDown(code, shift);
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
    page->game.freeze();
}
EMSCRIPTEN_KEEPALIVE void nubbo_close_help() {
    page->game.thaw();
}
EMSCRIPTEN_KEEPALIVE void nubbo_wake() {
    page->clock.woken([] { page->game.wake(); });
}

}  // extern "C"
