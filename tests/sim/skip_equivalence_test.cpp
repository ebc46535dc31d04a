// Skipping idle ticks changes nothing anyone can see; this is the one check
// of it. Random play is given
// move by move to a game that skips and one that delivers every tick, and as
// script lines to the simulator in both modes; after every move the two
// games look the same (the window as it stands between events, waits waking
// each game only when it asked, then the game, its timers and their phases),
// and the two simulators have printed the same.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "random_player.h"
#include "script.h"

namespace nubbo::test {
namespace {

// Everything the player and the rules can see: the window as it stands
// between events, then the game brought up to now.
std::string snapshot(RandomPlayer& p) {
    const FakeWindow& w = p.window;
    std::string out = "L" + std::to_string(w.gameOverShown) + std::to_string(w.bannerShown) +
                      w.bannerCaption + " T" + w.score + "/" + w.level + " screen";
    for (const auto& row : w.screen)
        for (int picture : row) out += char('0' + picture);
    p.game.wake();
    const State& s = p.game.state();
    for (const auto& row : boardRows(s)) out += row;
    out += " px" + std::to_string(s.px) + " py" + std::to_string(s.py);
    for (int k = 0; k < 3; ++k) out += " " + std::to_string(s.piece[k]);
    out += " s" + std::to_string(s.score) + " l" + std::to_string(s.level) + " n" +
           std::to_string(s.nextLevelScore) + " c" + std::to_string(s.combo) + " a" +
           std::to_string(s.keysOpen) + " sp" + std::to_string(s.fallInterval) + " p" +
           std::to_string(s.paused);
    const Timers& t = p.game.timers();
    for (int k = 0; k < kTimerCount; ++k) {
        const auto id = static_cast<TimerId>(k);
        out += " t" + std::to_string(t.enabled(id)) + "/" + std::to_string(t.interval(id));
        if (t.enabled(id)) out += "@" + std::to_string(t.due(id));
    }
    return out;
}

// Thousands of short sessions (the starts of games, boards laid by hand)
// and a few long ones (whole games to their end, level-ups).
TEST(SkipEquivalence, RandomPlayLooksAndPrintsTheSameWithAndWithoutSkipping) {
    constexpr Mix kMix{.focusLoss = true, .shows = true, .boards = true, .exactWakeUps = true};
    std::mt19937 lengths(20261209);
    for (int n = 0; n < 1200; ++n) {
        RandomPlayer a(n, kMix), b(n, kMix);
        b.game.setSkipIdleTicks(false);
        std::ostringstream skipping, delivering;
        sim::Script sa(skipping, true), sb(delivering, false);
        auto move = [&](const Move& m) {
            a.play(m);
            b.play(m);
            for (const auto& line : m.lines()) {
                ASSERT_EQ(sa.feed(line), sim::Script::Status::Running) << line;
                ASSERT_EQ(sb.feed(line), sim::Script::Status::Running) << line;
            }
        };
        move({Move::Expert, n % 4 == 0});
        const int moves = n < 6 ? 4000 : 5 + int(lengths() % 100);
        for (int k = 0; k < moves; ++k) {
            move(a.next());
            ASSERT_EQ(snapshot(a), snapshot(b)) << "session " << n << ", move " << k;
            ASSERT_EQ(skipping.view(), delivering.view()) << "session " << n << ", move " << k;
            skipping.str("");
            delivering.str("");
        }
    }
}

// Every committed script, malformed ones included, prints the same in both
// modes after every line.
TEST(SkipEquivalence, EveryCommittedCasePrintsTheSameAfterEveryLine) {
    int cases = 0;
    for (const auto& entry : std::filesystem::directory_iterator(NUBBO_SIM_CASES)) {
        if (entry.path().extension() != ".sim") continue;
        ++cases;
        std::ifstream in(entry.path());
        std::ostringstream skipping, delivering;
        sim::Script sa(skipping, true), sb(delivering, false);
        auto status = sim::Script::Status::Running;
        for (std::string line; status == sim::Script::Status::Running && std::getline(in, line);) {
            status = sa.feed(line);
            ASSERT_EQ(sb.feed(line), status) << entry.path() << ": " << line;
            ASSERT_EQ(skipping.view(), delivering.view()) << entry.path() << ": " << line;
        }
    }
    EXPECT_GT(cases, 20);
}

}  // namespace
}  // namespace nubbo::test
