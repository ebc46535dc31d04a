// The one repaint: paints every cell, turns a chain into a banner and a
// bonus, raises the level past each threshold, and writes score and level.
#include <string>

#include "rules.h"

namespace nubbo {

namespace {
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

void Rules::display(int arry, int arrx) {
    for (s_.i = 0; s_.i <= arry; ++s_.i)
        for (s_.j = 0; s_.j <= arrx; ++s_.j) paintCell(s_.i, s_.j);

    if (s_.combo > 1) {
        screen_.caption2 = banner("", s_.combo, "連扁");
        showLabel(Label::Label2, true);
        s_.score += std::int64_t{s_.combo} * s_.combo * kBonusFactor;
        s_.speed = timers_.interval(TimerId::Timer1);
        startHold();
        s_.active = 0;
    } else {
        timers_.enable(TimerId::Timer2);
        timers_.setInterval(TimerId::Timer1, s_.speed);
        timers_.setInterval(TimerId::Timer3, kRepaintInterval);
    }

    if (s_.score > s_.nextlevel) {
        const std::int32_t faster = timers_.interval(TimerId::Timer1) - kLevelStep;
        s_.speed = faster < kFastestFall ? kFastestFall : faster;
        timers_.setInterval(TimerId::Timer1, s_.speed);
        s_.nextlevel = s_.nextlevel * 3 / 2 + 100;  // Int(nextlevel x 1.5) + 100
        ++s_.level;
        screen_.caption2 = banner("第", s_.level, "關");
        showLabel(Label::Label2, true);
        startHold();
        s_.active = 0;
    }

    screen_.text1 = std::to_string(s_.score);
    screen_.text4 = std::to_string(s_.level);
}

// Copies the picture of the cell's tile code onto the cell.
void Rules::paintCell(int row, int col) {
    screen_.cell[row][col] = s_.board[row][col];
}

void Rules::showLabel(Label label, bool visible) {
    (label == Label::Label1 ? screen_.label1 : screen_.label2) = visible;
}

}  // namespace nubbo
