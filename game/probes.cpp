// Growing a group: each probe looks at one side neighbour of a group cell and,
// if it holds the group's tile, marks it and queues it unless already queued.
#include "rules.h"

namespace nubbo {

void Rules::checkrun(int xx, int yy, int no) {
    checkl(xx, yy, no);
    checkr(xx, yy, no);
    checku(xx, yy, no);
    checkd(xx, yy, no);
}

void Rules::checkl(int xx, int yy, int no) {
    if (xx > 0) probe(xx - 1, yy, no);
}

void Rules::checkr(int xx, int yy, int no) {
    if (xx < kLastCol) probe(xx + 1, yy, no);
}

void Rules::checku(int xx, int yy, int no) {
    if (yy > 0) probe(xx, yy - 1, no);
}

void Rules::checkd(int xx, int yy, int no) {
    if (yy < kLastRow) probe(xx, yy + 1, no);
}

// Marks cell (c, r) if it holds tile `no`, and queues it unless queued.
void Rules::probe(int c, int r, int no) {
    if (s_.board[r][c] != no) return;
    s_.mark[r][c] = s_.colour;
    int& lastPair = s_.i;  // the slot of the last queued pair's column
    int& searched = s_.j;  // the slot of the pair being compared
    bool queued = false;
    // The whole queue is searched, up to the empty pair after the last.
    for (searched = 1; searched <= lastPair + 2; searched += 2)
        if (s_.list[searched] == c && s_.list[searched + 1] == r) queued = true;
    if (queued) return;
    lastPair += 2;
    s_.list[lastPair] = c;
    s_.list[lastPair + 1] = r;
}

}  // namespace nubbo
