#pragma once

// The tests' one random player: it chooses moves at random (keys of the game
// and any other code, New, Pause, the difficulty box, focus loss, the help
// box, waits of every length, and where asked shows and crowded boards laid
// by hand), plays them on its own game with the invariants checked after
// each, and gives each move as the simulator's script lines, so that the
// same play can be replayed on other games and on the simulator.
#include <random>
#include <string>
#include <vector>

#include "boards.h"
#include "checker.h"
#include "script_keys.h"
#include "virtual_clock.h"

namespace nubbo::test {

struct Move {
    enum Kind { New, Pause, Expert, FocusLost, Help, Key, Wait, Show, Board };
    Kind kind = Wait;
    long long value = 0;     // the key's code, the wait in ms, the box ticked, the board scanned
    ::nubbo::Board board{};  // the board laid, for a Board move

    // The move as script lines; none for focus loss, which scripts lack.
    std::vector<std::string> lines() const {
        switch (kind) {
            case New:
                return {"new"};
            case Pause:
                return {"pause"};
            case Expert:
                return {"check1 " + std::to_string(value)};
            case FocusLost:
                return {};
            case Help:
                return {"help"};
            case Key:
                return {"key " + std::to_string(value)};
            case Wait:
                return {"advance " + std::to_string(value)};
            case Show:
                return {"show"};
            case Board: {
                std::vector<std::string> out{"board"};
                for (const auto& row : boardRows(board)) out.push_back(row);
                if (value) out.push_back("check");
                return out;
            }
        }
        return {};
    }
};

// What a random player's moves may be beyond keys, waits, New, Pause, the
// box and help.
struct Mix {
    bool focusLoss = true;      // none for a script
    bool shows = false;         // `show`, for a script; on the game a wake-up
    bool boards = false;        // crowded boards laid by hand, mid-game too (the
                                // falling piece is overwritten: not for the checker)
    bool exactWakeUps = false;  // waits deliver only the wake-ups asked for, not
                                // a last one at the end, as a platform would
};

struct RandomPlayer {
    FakeWindow window;
    VirtualClock clock;
    Game game;
    InvariantChecker checker;
    std::mt19937_64 rng;
    Mix mix;
    std::int64_t events = 0;

    explicit RandomPlayer(std::uint64_t seed, Mix m = {})
        : game(window, clock, seed, &checker), checker(game, window), rng(seed), mix(m) {
        game.load(window.expert);
    }

    void key(int code) { game.key(sim::keyFromCode(code)); }

    void newGame() {
        checker.newGame();
        game.newGame(window.expert);
    }

    // One move chosen and played, then the invariants checked.
    void step() {
        play(next());
        checker.afterEvent();
    }

    // A move chosen at random. New is rare so that games run to their end; an
    // over game is started again after a while, as a player would.
    Move next() {
        const unsigned e = rng() % 1000;
        unsigned upTo = 0;
        auto within = [&](unsigned share) { return e < (upTo += share); };
        const bool over = checker.games > 0 && !game.state().inGame;
        if (within(1) || (checker.games == 0 && e < 100) || (over && e >= 980)) return {Move::New};
        if (within(4)) return {Move::Pause};
        if (within(3)) return {Move::Expert, long(rng() % 2)};
        if (within(2)) return {mix.focusLoss ? Move::FocusLost : Move::Help};
        if (within(2)) return {Move::Help};
        if (mix.boards && within(15)) return crowdedBoard();
        if (mix.shows && within(40)) return {Move::Show};
        if (within(390)) return {Move::Key, towardsLowestColumn()};
        if (within(70)) {
            static constexpr int kKeys[] = {37, 39, 32, 40, 37, 39, 40};
            return {Move::Key, kKeys[rng() % 7]};
        }
        if (within(30)) return {Move::Key, long(rng() % 65536)};
        return {Move::Wait, waitSize()};
    }

    void play(const Move& m) {
        ++events;
        switch (m.kind) {
            case Move::New:
                return newGame();
            case Move::Pause:
                return game.pause();
            case Move::Expert:
                window.expert = m.value != 0;
                return;
            case Move::FocusLost:
                return game.focusLost();
            case Move::Help:
                game.openHelp();
                return game.closeHelp();
            case Move::Key:
                return key(int(m.value));
            case Move::Wait:
                return mix.exactWakeUps ? clock.pass(game, m.value) : clock.advance(game, m.value);
            case Move::Show:
                return game.wake();
            case Move::Board:
                game.setBoard(m.board);
                if (m.value) game.scan();
                return;
        }
    }

  private:
    // Steers the piece onto a stack whose top tile matches its bottom one,
    // the lowest such, else onto the lowest stack, so that games last and
    // clear often.
    int towardsLowestColumn() {
        const State& s = game.state();
        int best = s.px, bestScore = -1;
        for (int c = 0; c < kCols; ++c) {
            int top = 0;
            auto piece = [&](int r) { return c == s.px && r >= s.py && r <= s.py + 2; };
            while (top < kRows && (s.board[top][c] == EMPTY || piece(top))) ++top;
            const bool match = top < kRows && s.board[top][c] == s.piece[2];
            const int score = top + (match && top > 4 ? kRows : 0);
            if (score > bestScore) best = c, bestScore = score;
        }
        return best < s.px ? 37 : best > s.px ? 39 : 40;
    }

    // Mostly the short steps of a player's pace, the edges of the timers'
    // intervals, now and then a long wait; a very long one only while
    // nothing falls, so that games last.
    Millis waitSize() {
        static constexpr Millis kEdges[] = {0, 1, 9, 10, 11, 499, 500, 1000};
        const unsigned k = rng() % 1000;
        if (k < 100) return kEdges[rng() % std::size(kEdges)];
        if (k < 250) return Millis(rng() % 10);
        if (k < 400) return 10;
        if (k < 950) return Millis(rng() % 120);
        if (k < 995) return Millis(rng() % 1500);
        const State& s = game.state();
        return Millis(rng() % (s.inGame && !s.paused ? 2500 : 60000));
    }

    // A board of random tiles under five empty rows, a third of its cells
    // empty, scanned at once half the time.
    Move crowdedBoard() {
        Move m{Move::Board, long(rng() % 2)};
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < kCols; ++c)
                m.board[r][c] = r < 5 || rng() % 3 == 0 ? EMPTY : Tile(rng() % 6);
        return m;
    }
};

}  // namespace nubbo::test
