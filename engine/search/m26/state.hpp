// Search state of the tree-node build: the depth of the search under way,
// and its statistics counters.  (The bounds of its tables, the sort flag I
// and its ordering rules are shared with the hash-table build: old/.)
//
//   PLY      depth of the search under way; a node with ply == PLY is the
//            first level below a root move (the opponent's replies), and
//            the tree of the root is filled at ply PLY and PLY - 1
//   LA, LB   null-move tries and null-move cut-offs
//   L1, L2   per remaining depth: nodes that reached their move loop, and
//            moves taken up by a move loop (index 1: the last ply)
//
// The node counter L (engine/position/state.hpp) counts every move a move
// loop takes up, and every capture the horizon estimate looks at.
#pragma once

#include "engine/position/types.hpp"
#include "engine/search/older/state.hpp"

namespace morvelak::m26 {

// The statistics keep one entry per remaining depth, as the killer store
// keeps one row (the search goes no deeper than older::MAX_DEPTH).
inline constexpr int DEPTH_SLOTS = KILLER_ROWS;

extern i8 PLY;
extern u32 LA, LB;
extern u32 L1[DEPTH_SLOTS], L2[DEPTH_SLOTS];

// Clears the counters L, LA, LB, L1 and L2, as before every search.
void clear_counters();

}  // namespace morvelak::m26
