// Search state of the newest build: the iteration depth and the reply table
// that carry over from node to node and from search to search, and the
// bounds every table of the search is sized by.  (The killer stores, which
// every build shares, live in engine/search/ordering.hpp.)
//
//   PLY      depth of the current iteration; a node with ply == PLY is the
//            first level below a root move
//   PS       reply expected to the root move being searched; the search tries
//            it first one level down and leaves its best reply in it
//   PV       the expected reply to every root move, parallel to the root list
//   I        1 while an internal sort search runs: no path, no repetition test
//   L1, L2   statistics counters of the older builds, only cleared here
#pragma once

#include "engine/position/types.hpp"
#include "engine/search/ordering.hpp"
#include "engine/search/pathbuf.hpp"

namespace morvelak::m31 {

// A path buffer: up to 64 (origin, destination) pairs ending in a marker
// (engine/search/pathbuf.hpp).
inline constexpr int PATH_BYTES = 128;
// How much of a child's path a node passes up behind its own move.
inline constexpr int PATH_COPY = 64;

// The deepest iteration the tables allow.  A node of remaining depth p uses
// killer row p (rows 0..19, engine/search/ordering.hpp), key slot
// TRASA[11 + PLY - p] (at most TRASA[28] of 32) and writes at most 33 pairs
// of path (or p marker pairs); the null-move and internal-sort searches only
// go shallower.
inline constexpr int MAX_DEPTH = KILLER_ROWS - 1;

extern i8 PLY;
extern Move PS;
extern Move PV[MAX_MOVES];
extern i8 I;
extern u32 L1, L2;

// Clears killers, replies and flags, as at program start.  The engine never
// calls it between moves (killers and replies carry over); tests and the
// bench use it to start every search from the same state.
void reset_search_state();

}  // namespace morvelak::m31
