// nubbo-screenshot: the README's picture of a game in play, the same on every
// run. It builds the real window and plays a seeded game on it, on a virtual
// clock, with a fixed way of steering the pieces, until a chain has been
// cleared from a tall stack and the next piece is falling over what is left;
// then it saves what the window shows.
// Usage: nubbo-screenshot OUT.png [SEED]
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fonts.h"
#include "game.h"
#include "main_window.h"
#include "virtual_clock.h"

namespace {

constexpr std::uint64_t kSeed = 2;  // a tall stack and a chain of three
constexpr int kMaxPieces = 200;

void press(nubbo::Game& game, nubbo::VirtualClock& clock, nubbo::Key key) {
    game.key(key);
    clock.advance(game, 20);  // past the key gate
}

// Rows of column `col` free from the top.
int freeRows(const nubbo::State& s, int col) {
    int row = 0;
    while (row < nubbo::kRows && s.board[row][col] == nubbo::EMPTY) ++row;
    return row;
}

// Steers the falling piece: the emptiest column, the nearest of equals to
// the spawn column, and the tiles turned by the piece's number.
void steer(nubbo::Game& game, nubbo::VirtualClock& clock, int number) {
    const nubbo::State& s = game.state();
    int target = s.px;
    for (int col = 0; col < nubbo::kCols; ++col)
        if (freeRows(s, col) > freeRows(s, target) + 1 ||
            (freeRows(s, col) > freeRows(s, target) && std::abs(col - 3) < std::abs(target - 3)))
            target = col;
    for (int turn = 0; turn < number % 3; ++turn) press(game, clock, nubbo::Key::Rotate);
    while (s.px != target) {
        const int before = s.px;
        press(game, clock, s.px < target ? nubbo::Key::Right : nubbo::Key::Left);
        if (s.px == before) break;  // blocked by the stack
    }
}

// Counts the pieces dealt, to tell when the next one stands ready.
struct Spawns : nubbo::GameEvents {
    int count = 0;
    void spawned() override { ++count; }
};

// The banner: the label over the board's middle rows.
QLabel* banner(nubbo::ui::MainWindow& window) {
    return window.findChild<QLabel*>(QStringLiteral("banner"));
}

bool chainShowing(nubbo::ui::MainWindow& window) {
    const QLabel* label = banner(window);
    return label && label->isVisible() && label->text().contains(QStringLiteral("連扁"));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: nubbo-screenshot OUT.png [SEED]\n");
        return 2;
    }
    const std::uint64_t seed = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : kSeed;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    nubbo::ui::installFontSubstitutions();
    nubbo::ui::MainWindow window(seed);
    window.show();

    // The game behind the window, seeded. The window's own game stays idle
    // (no event loop runs); this one, on a virtual clock, draws on the same
    // window.
    nubbo::VirtualClock clock;
    Spawns spawns;
    nubbo::Game game(window, clock, seed, &spawns);
    game.load(false);  // the 高手 box unticked, as the window shows it
    clock.advance(game, 100);
    game.newGame(false);
    for (int number = 0; number < kMaxPieces && !chainShowing(window); ++number) {
        steer(game, clock, number);
        // Let it fall, a tenth of a second at a time, until the banner of a
        // chain shows or the next piece stands in the spawn column.
        const int spawned = spawns.count;
        for (int t = 0; t < 600 && !chainShowing(window) && spawns.count == spawned; ++t)
            clock.advance(game, 100);
        if (!game.state().inGame) break;
    }
    if (!chainShowing(window)) {
        std::fprintf(stderr, "nubbo-screenshot: seed %llu made no chain\n",
                     static_cast<unsigned long long>(seed));
        return 1;
    }
    // The chain's hold ends and the next piece falls two rows over the stack.
    // (The banner goes with the hold: no piece falls while a banner shows.)
    clock.advance(game, 1000 + 2 * 500 + 100);
    if (!window.grab().toImage().save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "nubbo-screenshot: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
