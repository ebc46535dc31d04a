// In-process costs of the core: the match scan after a landing, the
// ordinary repaint that runs every 10 ms, and a key press end to end.
#include <benchmark/benchmark.h>

#include <cstring>

#include "rig.h"

namespace {

using namespace nubbo;

struct Board {
    Tile cells[kRows][kCols];
    explicit Board(const char* const rows[kRows]) {
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < kCols; ++c)
                cells[r][c] = rows[r][c] == '.' ? EMPTY : Tile(rows[r][c] - '0');
    }
    void copyTo(State& s) const { std::memcpy(&s.board, cells, sizeof cells); }
};

// A half-full board on which a landing makes no run.
const char* const kNoRun[kRows] = {
    "........", "........", "........", "........", "........", "........", "........",
    "01010101", "23232323", "01010101", "23232323", "01010101", "23232323",
};

// A landing that clears three times in a chain: two row runs, then the run
// their collapse leaves.
const char* const kThreePasses[kRows] = {
    "........", "........", "........", "........", "........", "........", "........",
    "........", "........", "........", "........", ".....111", "000..222",
};

// A game just started on a virtual clock.
struct PlayingGame : test::Rig {
    PlayingGame() { newGame(); }
};

// The scan after a landing on `rows`, which must score `points`.
void scanLanding(benchmark::State& state, const char* const rows[kRows], std::int64_t points) {
    const Board board(rows);
    PlayingGame p;
    for (auto _ : state) {
        board.copyTo(p.s());
        p.rules().settleLanding();
        if (p.s().score != points) state.SkipWithError("not the expected clearing");
        p.s().score = 0;
    }
}

void BM_SettleLandingNoRun(benchmark::State& state) {
    scanLanding(state, kNoRun, 0);
}
BENCHMARK(BM_SettleLandingNoRun);

void BM_SettleLandingThreePassChain(benchmark::State& state) {
    scanLanding(state, kThreePasses, 74);
}
BENCHMARK(BM_SettleLandingThreePassChain);

void BM_OrdinaryRepaint(benchmark::State& state) {
    PlayingGame p;
    for (auto _ : state) p.rules().paintAndScore();
}
BENCHMARK(BM_OrdinaryRepaint);

// A key press as the platform delivers it: the ticks due before it, the
// shift, what the window is told, and the search for the next tick that
// changes the screen. Left and right in turn, each after the key gate's
// 10 ms.
void BM_KeyPressEvent(benchmark::State& state) {
    PlayingGame p;
    Key key = Key::Left;
    for (auto _ : state) {
        p.advance(10);
        p.key(key);
        key = key == Key::Left ? Key::Right : Key::Left;
        state.PauseTiming();
        if (p.s().py > 5) p.newGame();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_KeyPressEvent);

}  // namespace

BENCHMARK_MAIN();
