// Growing a group: each probe looks at one side neighbour of a group cell and,
// if it holds the group's tile, marks it and queues it unless already queued.
#include "rules.h"

namespace nubbo {

void Rules::probeNeighbours(int row, int col, Tile kind) {
    probeLeft(row, col, kind);
    probeRight(row, col, kind);
    probeUp(row, col, kind);
    probeDown(row, col, kind);
}

void Rules::probeLeft(int row, int col, Tile kind) {
    if (col > 0) probe(row, col - 1, kind);
}

void Rules::probeRight(int row, int col, Tile kind) {
    if (col < kLastCol) probe(row, col + 1, kind);
}

void Rules::probeUp(int row, int col, Tile kind) {
    if (row > 0) probe(row - 1, col, kind);
}

void Rules::probeDown(int row, int col, Tile kind) {
    if (row < kLastRow) probe(row + 1, col, kind);
}

// Marks cell (row, col) if it holds tile `kind`, and queues it unless queued.
void Rules::probe(int row, int col, Tile kind) {
    if (s_.board[row][col] != kind) return;
    Scratch& w = scratch_;
    w.group[row][col] = w.runKind;
    // The queue's positions live in the shared counters: the pass that
    // queued the run's cells left the last pair's slot in `i`.
    int& lastPair = w.i;
    int& searched = w.j;  // the slot of the pair being compared
    bool queued = false;
    // The whole queue is searched, up to the empty pair after the last.
    for (searched = 1; searched <= lastPair + 2; searched += 2)
        if (w.queue[searched] == col && w.queue[searched + 1] == row) queued = true;
    if (queued) return;
    lastPair += 2;
    w.queue[lastPair] = col;
    w.queue[lastPair + 1] = row;
}

}  // namespace nubbo
