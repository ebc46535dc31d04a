// Whole games of random play, replayed as a script by nubbo-sim, the program
// itself: at every `show` it prints what the game played here shows a player
// (board, piece, score, texts, timers), each of its passes adds the cleared
// cells and the chain bonus to the score, and it deals and ends as often.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "random_player.h"

namespace nubbo::test {
namespace {

// What nubbo-sim prints for a script, its exit status checked.
std::string simulate(const std::string& script) {
    char path[] = "/tmp/nubbo-whole-game-XXXXXX";
    const int fd = mkstemp(path);
    EXPECT_GE(fd, 0);
    std::ofstream(path) << script;
    std::string out;
    if (FILE* sim = popen((std::string(NUBBO_SIM) + " < " + path).c_str(), "r")) {
        char buffer[1 << 16];
        for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, sim)) > 0;) out.append(buffer, n);
        EXPECT_EQ(pclose(sim), 0);
    }
    close(fd);
    std::remove(path);
    return out;
}

// The block `show` prints, from the game's state and what its window was told.
std::string shown(const RandomPlayer& p) {
    const State& s = p.game.state();
    const FakeWindow& w = p.window;
    std::ostringstream out;
    out << "board\n";
    for (const auto& row : boardRows(s)) out << row << '\n';
    out << "px " << s.px << " py " << s.py << " piece " << s.piece[0] << ' ' << s.piece[1] << ' '
        << s.piece[2] << "\nscore " << s.score << " level " << s.level << " nextlevel "
        << s.nextLevelScore << " combo " << s.combo << " active " << s.keysOpen << " kinds "
        << s.kinds << " speed " << s.fallInterval << '\n';
    for (int k = 0; k < kTimerCount; ++k) {
        const auto id = static_cast<TimerId>(k);
        out << "timer" << k + 1 << (p.game.timers().enabled(id) ? " on " : " off ")
            << p.game.timers().interval(id) << '\n';
    }
    out << "label1 " << (w.gameOverShown ? "shown" : "hidden") << "\nlabel2 "
        << (w.bannerShown ? "shown " : "hidden ") << w.bannerCaption << "\ntext1 " << w.score
        << "\ntext4 " << w.level << "\nend\n";
    return out.str();
}

TEST(WholeGameInTheSimulator, PrintsWhatTheGameShowsAndScoresEveryPass) {
    for (int seed = 1; seed <= 3; ++seed) {
        RandomPlayer p(seed, {.focusLoss = false, .shows = true});
        std::string script = "seed " + std::to_string(seed) + "\n";
        std::vector<std::string> shows;
        while (p.checker.overs < 2 && p.events < 200'000) {
            const Move m = p.next();
            p.play(m);
            p.checker.afterEvent();
            for (const auto& line : m.lines()) script += line + "\n";
            if (m.kind == Move::New) {  // the score starts again: show it
                p.game.wake();
                script += "show\n";
            }
            if (m.kind == Move::New || m.kind == Move::Show) shows.push_back(shown(p));
        }
        ASSERT_EQ(p.checker.overs, 2);
        ASSERT_EQ(p.checker.violations, 0) << p.checker.first.front();

        std::istringstream out(simulate(script));
        std::size_t show = 0;
        std::int64_t spawns = 0, overs = 0, score = 0;
        for (std::string line; std::getline(out, line);) {
            auto next = [&] {
                std::getline(out, line);
                return line + "\n";
            };
            if (line == "board") {
                std::string block = "board\n";
                while (line != "end") block += next();
                ASSERT_LT(show, shows.size()) << "seed " << seed;
                ASSERT_EQ(block, shows[show]) << "seed " << seed << ", show " << show;
                std::istringstream(block.substr(block.find("score ") + 6)) >> score;
                ++show;
            } else if (line.starts_with("pass ")) {
                const int combo = std::stoi(line.substr(5));
                int cleared = 0;
                for (int r = 0; r < kRows; ++r)
                    for (char ch : next()) cleared += ch == '*';
                EXPECT_GT(cleared, 0) << "seed " << seed;
                score += cleared + (combo > 1 ? 5 * combo * combo : 0);
                EXPECT_EQ(next().substr(0, 6 + std::to_string(score).size() + 1),
                          "score " + std::to_string(score) + " ")
                    << "seed " << seed << ", pass after show " << show;
            } else {
                spawns += line.starts_with("spawn ");
                overs += line == "over";
            }
        }
        EXPECT_EQ(show, shows.size()) << "seed " << seed;
        EXPECT_EQ(spawns + overs, p.checker.landings) << "seed " << seed;
        EXPECT_EQ(overs, 2) << "seed " << seed;
    }
}

}  // namespace
}  // namespace nubbo::test
