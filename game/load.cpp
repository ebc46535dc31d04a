// The window's creation and Game > New: the start values of the game.
#include "rules.h"

namespace nubbo {

Scratch::Scratch() {
    for (auto& row : group)
        for (auto& cell : row) cell = kUnused;
    for (auto& slot : queue) slot = kUnused;
}

Rules::Rules(const Window& controls, std::uint64_t seed, GameEvents* events)
    : controls_(&controls), seed_(seed), events_(events) {}

// A copy plays on by itself: it tells nobody of what it does.
Rules::Rules(const Rules& other)
    : s_(other.s_),
      scratch_(other.scratch_),
      screen_(other.screen_),
      timers_(other.timers_),
      now_(other.now_),
      controls_(other.controls_),
      seed_(other.seed_),
      random_(other.random_),
      events_(nullptr) {}

void Rules::clearBoard() {
    int& i = scratch_.i;
    int& j = scratch_.j;
    for (i = 0; i <= s_.lastRow; ++i)
        for (j = 0; j <= s_.lastCol; ++j) s_.board[i][j] = EMPTY;
}

void Rules::setStartValues() {
    s_.px = kSpawnColumn;
    s_.py = 0;
    s_.score = 0;
    s_.lastCol = kLastCol;
    s_.lastRow = kLastRow;
    s_.keysOpen = true;
    s_.nextLevelScore = kFirstLevelScore;
    s_.level = 1;
    clearBoard();
}

void Rules::onLoad() {
    setStartValues();
    s_.fallInterval = controls_->expertTicked() ? kFallHard : kFallNormal;
    random_.seed(seed_);         // the platform seeds it from its clock
    screen_.bannerShown = true;  // still carries the prompt "按F2"
}

void Rules::onNew() {
    enable(TimerId::Fall);
    setInterval(TimerId::Fall, kFallNew);
    enable(TimerId::KeyGate);
    enable(TimerId::Repaint);
    screen_.gameOverShown = false;
    screen_.bannerShown = false;
    setStartValues();
    const bool expert = controls_->expertTicked();
    s_.fallInterval = expert ? kFallHard : kFallNormal;
    s_.kinds = expert ? kKindsHard : kKindsNormal;
    s_.inGame = true;
    s_.paused = false;
    dealPiece();
}

}  // namespace nubbo
