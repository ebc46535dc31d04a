// The one repaint: paints every cell, turns a chain into a banner and a
// bonus, raises the level past each threshold, and writes score and level.
#include <algorithm>
#include <string>

#include "game.h"

namespace nubbo {

namespace {
constexpr int kPitch = 24;  // points per cell
constexpr int kLeft = 10;   // x of column 0, in points
constexpr int kTop = 50;    // y of row 0, in points
constexpr int kBonusFactor = 5;
constexpr std::int32_t kLevelStep = 50;  // ms taken off the fall interval per level
// The fall interval never goes below this: at 0 ms the fall timer would
// never tick again and the game would freeze.
constexpr std::int32_t kFastestFall = 50;
constexpr std::int32_t kRepaintInterval = 10;

// A banner: a number between fixed texts, with one leading space where a
// sign would go.
std::string banner(std::string_view before, std::int64_t n, std::string_view after) {
    std::string text(before);
    text += ' ';
    text += std::to_string(n);
    text += after;
    return text;
}
}  // namespace

void Game::display(int arry, int arrx) {
    for (s_.i = 0; s_.i <= arry; ++s_.i)
        for (s_.j = 0; s_.j <= arrx; ++s_.j)
            window_.paintPicture(s_.board[s_.i][s_.j], kPitch * s_.j + kLeft, kPitch * s_.i + kTop);

    if (s_.combo > 1) {
        window_.setLabel2Caption(banner("", s_.combo, "連扁"));
        window_.showLabel(Label::Label2, true);
        s_.score += std::int64_t{s_.combo} * s_.combo * kBonusFactor;
        s_.speed = timers_.interval(TimerId::Timer1);
        startHold();
        s_.active = 0;
    } else {
        enable(TimerId::Timer2);
        setInterval(TimerId::Timer1, s_.speed);
        setInterval(TimerId::Timer3, kRepaintInterval);
    }

    if (s_.score > s_.nextlevel) {
        const std::int32_t faster = timers_.interval(TimerId::Timer1) - kLevelStep;
        s_.speed = faster < kFastestFall ? kFastestFall : faster;
        setInterval(TimerId::Timer1, s_.speed);
        s_.nextlevel = s_.nextlevel * 3 / 2 + 100;  // Int(nextlevel x 1.5) + 100
        ++s_.level;
        window_.setLabel2Caption(banner("第", s_.level, "關"));
        window_.showLabel(Label::Label2, true);
        startHold();
        s_.active = 0;
    }

    window_.setText(TextBox::Text1, std::to_string(s_.score));
    window_.setText(TextBox::Text4, std::to_string(s_.level));

    shown_.valid = true;
    std::copy(&s_.board[0][0], &s_.board[0][0] + kRows * kCols, &shown_.board[0][0]);
    shown_.score = s_.score;
    shown_.level = s_.level;
}

}  // namespace nubbo
