// Search state of the newest build: the iteration depth, the reply table and
// the killer stores that carry over from node to node and from search to
// search, and the bounds every table of the search is sized by.
//
//   PLY      depth of the current iteration; a node with ply == PLY is the
//            first level below a root move
//   PS       reply expected to the root move being searched; the search tries
//            it first one level down and leaves its best reply in it
//   PV       the expected reply to every root move, parallel to the root list
//   I        1 while an internal sort search runs: no path, no repetition test
//   KILB/C   killers of White / Black, one row of 20 moves per remaining depth
//   L1, L2   statistics counters of the older builds, only cleared here
#pragma once

#include "engine/position/types.hpp"

namespace morvelak::m31 {

// A path buffer: up to 64 (origin, destination) pairs ending in a marker.
inline constexpr int PATH_BYTES = 128;
// How much of a child's path a node passes up behind its own move.
inline constexpr int PATH_COPY = 64;

// Killer store: one row per remaining depth 0..19, 20 moves per row.
inline constexpr int KILLER_ROWS = 20;
inline constexpr int KILLER_ROW = 20;

// The deepest iteration the tables allow.  A node of remaining depth p uses
// killer row p (rows 0..19), key slot TRASA[11 + PLY - p] (at most
// TRASA[28] of 32) and writes at most 33 pairs of path (or p marker pairs);
// the null-move and internal-sort searches only go shallower.
inline constexpr int MAX_DEPTH = KILLER_ROWS - 1;

// Path markers, written as both bytes of a pair.
inline constexpr i8 END_OF_LINE = 0;
inline constexpr i8 NO_GOOD_CAPTURE = -1;  // "zlebicia": standing pat beat every capture
inline constexpr i8 NO_CAPTURE = -2;       // "bezbic": nothing to capture
inline constexpr i8 KING_TAKEN = -4;       // "#": a king hangs, or the position repeats
inline constexpr i8 STALEMATE = -5;        // "pat"

// Writes the pair (a, b) at p.
inline void put_pair(i8* p, int a, int b) {
    p[0] = static_cast<i8>(a);
    p[1] = static_cast<i8>(b);
}
// Writes n copies of the marker pair (m, m) from p on.
inline void fill_pairs(i8* p, int n, i8 m) {
    for (int i = 0; i < 2 * n; ++i) p[i] = m;
}

extern i8 PLY;
extern Move PS;
extern Move PV[MAX_MOVES];
extern i8 I;
extern Move KILB[KILLER_ROWS * KILLER_ROW];
extern Move KILC[KILLER_ROWS * KILLER_ROW];
extern u32 L1, L2;

// Number of killers kept for remaining depth ply: three more per ply up to
// the full row at depth 6; depth 7 keeps its full row too (the rule would
// give 23, more than the row holds); deeper rows keep 10.
inline constexpr int ilk_of(int ply) {
    return ply <= 6 ? 3 * ply + 2 : ply == 7 ? KILLER_ROW : 10;
}

// Clears killers, replies and flags, as at program start.  The engine never
// calls it between moves (killers and replies carry over); tests and the
// bench use it to start every search from the same state.
void reset_search_state();

template <Side S> inline Move* killer_store() {
    if constexpr (S == Side::White) return KILB; else return KILC;
}

}  // namespace morvelak::m31
