// The rules' start: the window's creation, its load, Game > New and Exit.
#include "rules.h"

namespace nubbo {

Rules::Rules(std::uint64_t seed, GameEvents* events, Millis now)
    : now_(now), seed_(seed), events_(events) {
    setInterval(TimerId::Fall, kFallAtCreation);
    setInterval(TimerId::KeyGate, kGateInterval);
    setInterval(TimerId::Repaint, kRepaintInterval);
    setInterval(TimerId::Hold, kHoldInterval);
    enable(TimerId::KeyGate);
    enable(TimerId::Repaint);
}

void Rules::setStartValues(bool expert) {
    s_.px = kSpawnColumn;
    s_.py = 0;
    s_.score = 0;
    s_.keysOpen = true;
    s_.nextLevelScore = kFirstLevelScore;
    s_.level = 1;
    s_.fallInterval = expert ? kFallHard : kFallNormal;
    s_.board.fill(EMPTY);
}

void Rules::onLoad(bool expert) {
    setStartValues(expert);
    random_.seed(seed_);         // the platform seeds it from its clock
    screen_.bannerShown = true;  // still carries the prompt "按F2"
}

void Rules::onNew(bool expert) {
    enable(TimerId::Fall);
    setInterval(TimerId::Fall, kFallNew);
    enable(TimerId::KeyGate);
    enable(TimerId::Repaint);
    screen_.gameOverShown = false;
    screen_.bannerShown = false;
    setStartValues(expert);
    s_.kinds = expert ? kKindsHard : kKindsNormal;
    s_.inGame = true;
    s_.paused = false;
    dealPiece();
}

void Rules::onExit() {
    screen_.ended = true;
}

}  // namespace nubbo
