// The window's creation and Game > New: the start values of the state and
// of a new game.
#include "rules.h"

namespace nubbo {

Rules::Rules(Timers& timers, const Window& controls, std::uint64_t seed, GameEvents* events)
    : timers_{&timers, 0}, controls_(&controls), seed_(seed), events_(events) {
    for (auto& row : s_.mark)
        for (auto& m : row) m = kUnused;
    for (auto& slot : s_.list) slot = kUnused;
}

void Rules::clearBoard() {
    for (s_.i = 0; s_.i <= s_.maxrow; ++s_.i)
        for (s_.j = 0; s_.j <= s_.maxcol; ++s_.j) s_.board[s_.i][s_.j] = EMPTY;
}

void Rules::Form_Load() {
    s_.px = kSpawnColumn;
    s_.py = 0;
    s_.score = 0;
    s_.maxcol = kLastCol;
    s_.maxrow = kLastRow;
    s_.active = 1;
    s_.speed = controls_->check1Ticked() ? kFallHard : kFallNormal;
    s_.nextlevel = kFirstLevelScore;
    s_.level = 1;
    clearBoard();
    random_.seed(seed_);             // the platform seeds it from its clock
    showLabel(Label::Label2, true);  // still carries the prompt "按F2"
}

void Rules::New_Click() {
    timers_.enable(TimerId::Timer1);
    timers_.setInterval(TimerId::Timer1, kFallNew);
    timers_.enable(TimerId::Timer2);
    timers_.enable(TimerId::Timer3);
    showLabel(Label::Label1, false);
    showLabel(Label::Label2, false);
    s_.px = kSpawnColumn;
    s_.py = 0;
    s_.score = 0;
    s_.maxcol = kLastCol;
    s_.maxrow = kLastRow;
    s_.active = 1;
    s_.speed = kFallNew;
    s_.nextlevel = kFirstLevelScore;
    s_.level = 1;
    clearBoard();
    if (!controls_->check1Ticked()) {
        s_.speed = kFallNormal;
        s_.kinds = kKindsNormal;
    } else {
        s_.speed = kFallHard;
        s_.kinds = kKindsHard;
    }
    s_.inGame = true;
    s_.paused = false;
    NEWOBJ();
}

}  // namespace nubbo
