// In-process costs of the core: the match scan after a landing, and the
// ordinary repaint that runs every 10 ms.
#include <benchmark/benchmark.h>

#include <cstring>

#include "game.h"
#include "virtual_clock.h"

namespace {

using namespace nubbo;

struct NullWindow : Window {
    void showLabel(Label, bool) override {}
    void setLabel2Caption(std::string_view) override {}
    void setText(TextBox, std::string_view) override {}
    int check1Value() const override { return 0; }
    void paintPicture(int picture, int x, int y) override {
        benchmark::DoNotOptimize(picture + x + y);
    }
    void endProgram() override {}
};

struct Board {
    Tile cells[kRows][kCols];
    explicit Board(const char* const rows[kRows]) {
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < kCols; ++c)
                cells[r][c] = rows[r][c] == '.' ? EMPTY : Tile(rows[r][c] - '0');
    }
    void copyTo(State& s) const { std::memcpy(s.board, cells, sizeof cells); }
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

// A game just started, behind a window that draws nothing.
struct PlayingGame {
    NullWindow window;
    VirtualClock clock;
    Game game{window, clock};
    PlayingGame() {
        game.load();
        game.newGame();
    }
};

// The scan after a landing on `rows`, which must score `points`.
void scanLanding(benchmark::State& state, const char* const rows[kRows], std::int64_t points) {
    const Board board(rows);
    PlayingGame p;
    for (auto _ : state) {
        board.copyTo(p.game.state());
        p.game.check();
        if (p.game.state().score != points) state.SkipWithError("not the expected clearing");
        p.game.state().score = 0;
    }
}

void BM_CheckNoRun(benchmark::State& state) {
    scanLanding(state, kNoRun, 0);
}
BENCHMARK(BM_CheckNoRun);

void BM_CheckThreePassChain(benchmark::State& state) {
    scanLanding(state, kThreePasses, 74);
}
BENCHMARK(BM_CheckThreePassChain);

void BM_OrdinaryRepaint(benchmark::State& state) {
    PlayingGame p;
    for (auto _ : state) p.game.display(12, 7);
}
BENCHMARK(BM_OrdinaryRepaint);

}  // namespace

BENCHMARK_MAIN();
