// Turns bytes into a sequence of events for the game (keys of any code, New,
// Pause, the difficulty box, focus loss, the help box, clock advances) and
// aborts on any broken invariant.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "random_player.h"

namespace {

struct Bytes {
    const std::uint8_t* data;
    std::size_t size;
    int next() {
        if (size == 0) return 0;
        --size;
        return *data++;
    }
    int next16() { return next() | next() << 8; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Bytes in{data, size};
    nubbo::test::RandomPlayer p(in.next16());
    while (in.size > 0) {
        const int op = in.next();
        switch (op % 12) {
            case 0:
                p.newGame();
                break;
            case 1:
                p.game.pause();
                break;
            case 2:
                p.window.expert = in.next() % 2;
                break;
            case 3:
                p.game.focusLost();
                break;
            case 4:
                p.game.openHelp();
                p.clock.advance(p.game, in.next16());
                p.game.closeHelp();
                break;
            case 5:
                p.key(in.next16());
                break;
            case 6:
            case 7: {
                static constexpr int kKeys[] = {37, 39, 32, 40};
                p.key(kKeys[op / 12 % 4]);
                break;
            }
            default:
                p.clock.advance(p.game, op < 128 ? in.next() : in.next16() * 4);
                break;
        }
        p.checker.afterEvent();
        if (p.checker.violations > 0) {
            std::fprintf(stderr, "violation: %s\n", p.checker.first.front().c_str());
            std::abort();
        }
    }
    return 0;
}
