// Growing a group: each probe looks at one side neighbour of a group cell and,
// if it holds the group's tile, marks it and queues it unless already queued.
#include "game.h"

namespace nubbo {

void Game::checkrun(int xx, int yy, int no) {
    checkl(xx, yy, no);
    checkr(xx, yy, no);
    checku(xx, yy, no);
    checkd(xx, yy, no);
}

void Game::checkl(int xx, int yy, int no) {
    if (xx > 0) probe(xx - 1, yy, no);
}

void Game::checkr(int xx, int yy, int no) {
    if (xx < 7) probe(xx + 1, yy, no);
}

void Game::checku(int xx, int yy, int no) {
    if (yy > 0) probe(xx, yy - 1, no);
}

void Game::checkd(int xx, int yy, int no) {
    if (yy < 12) probe(xx, yy + 1, no);
}

// `i` is the queue's write position: the slot of the last pair's column.
void Game::probe(int c, int r, int no) {
    if (s_.board[r][c] != no) return;
    s_.mark[r][c] = s_.colour;
    bool queued = false;
    // The whole queue is searched, up to the empty pair after the last.
    for (s_.j = 1; s_.j <= s_.i + 2; s_.j += 2)
        if (s_.list[s_.j] == c && s_.list[s_.j + 1] == r) queued = true;
    if (queued) return;
    s_.i += 2;
    s_.list[s_.i] = c;
    s_.list[s_.i + 1] = r;
}

}  // namespace nubbo
