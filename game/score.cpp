// What a landing and the score bring: the clearing passes and their chain,
// the one repaint (every cell painted, a chain turned into a banner and a
// bonus, the level raised past each threshold, the fall timer set, the score
// and level written), and the periodic repaint.
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

void Rules::settleLanding() {
    clearRuns();
    dealPiece();
}

// The six sweeps run in order, each on the board the one before left. Each
// clears the first run it finds, if any, and the next sweep looks at the
// collapsed board; the cycle repeats until all six find nothing.
void Rules::clearRuns() {
    s_.combo = 0;
    bool cleared = false;
    do {
        cleared = false;
        for (const Sweep& sweep : kSweeps)
            if (const auto run = findRun(s_.board, sweep)) {
                clearRun(*run);
                cleared = true;
            }
    } while (cleared);
}

// Every cell of the run's group turns into the clearing picture and scores a
// point; the pass is shown, the game holds still while it shows, and the
// columns collapse.
void Rules::clearRun(const Run& run) {
    ++s_.combo;
    const Group group = groupOf(s_.board, run);
    for (int n = 0; n < group.size; ++n) s_.board[group.cells[n]] = CLEARING;
    s_.score += group.size;
    paintAndScore();
    events_.tell(&GameEvents::passPainted);
    startHold();
    s_.board.collapseCleared();
}

void Rules::onRepaintTick() {
    paintAndScore();
}

void Rules::paintAndScore() {
    paintBoard();
    applyChain();
    applyLevel();
    screen_.score = std::to_string(s_.score);
    screen_.level = std::to_string(s_.level);
}

void Rules::paintBoard() {
    for (int row = 0; row < kRows; ++row)
        for (int col = 0; col < kCols; ++col) screen_.cell[row][col] = s_.board[row][col];
}

// A second clearing pass or more: the chain's banner and bonus, and a hold.
// Otherwise this is where the fall goes on at the game's fall interval: the
// repaint re-asserts it, so a changed interval takes effect here.
void Rules::applyChain() {
    if (s_.combo > 1) {
        showBanner(banner("", s_.combo, "連扁"));
        s_.score += std::int64_t{s_.combo} * s_.combo * kBonusFactor;
        s_.fallInterval = timers_.interval(TimerId::Fall);
        startHold();
        s_.keysOpen = false;
    } else {
        enable(TimerId::KeyGate);
        setInterval(TimerId::Fall, s_.fallInterval);
        setInterval(TimerId::Repaint, kRepaintInterval);
    }
}

void Rules::applyLevel() {
    if (s_.score <= s_.nextLevelScore) return;
    const std::int32_t faster = timers_.interval(TimerId::Fall) - kLevelStep;
    s_.fallInterval = faster < kFastestFall ? kFastestFall : faster;
    setInterval(TimerId::Fall, s_.fallInterval);
    s_.nextLevelScore = s_.nextLevelScore * 3 / 2 + 100;  // Int(nextLevelScore x 1.5) + 100
    ++s_.level;
    showBanner(banner("第", s_.level, "關"));
    startHold();
    s_.keysOpen = false;
}

void Rules::showBanner(std::string caption) {
    screen_.bannerCaption = std::move(caption);
    screen_.bannerShown = true;
}

}  // namespace nubbo
