// Search state the two older builds (the hash-table build m28 and the
// tree-node build m26) share, and the bounds their tables are sized by.
//
//   I   1 while an internal sort search (ITERACJASORT) runs: its nodes, and
//       the last-ply searches below them, write no path.  Either older
//       build's internal sort sets it, and the shared last ply reads it.
//
// Paths of the older builds hold move-list entries (nr, x2) of the side to
// move at each level, in buffers of 20 pairs, ending in the markers of
// engine/search/pathbuf.hpp.  A node of remaining depth p writes its own
// move and p pairs of its child's path (p + 1 pairs), or p marker pairs.
#pragma once

#include "engine/position/types.hpp"
#include "engine/search/ordering.hpp"
#include "engine/search/pathbuf.hpp"

namespace morvelak::older {

inline constexpr int PATH_PAIRS = 20;
inline constexpr int PATH_BYTES = 2 * PATH_PAIRS;

// The deepest search the tables allow: a node of remaining depth p uses
// killer row p (rows 0..19) and writes p + 1 pairs of path (20 pairs).
inline constexpr int MAX_DEPTH = KILLER_ROWS - 1;
static_assert(MAX_DEPTH + 1 <= PATH_PAIRS);

extern i8 I;

}  // namespace morvelak::older
