// What the search states of the two older builds (m28 and m26) have in
// common, and the bounds their tables are sized by.  Each build's state
// (m28/state.hpp, m26/state.hpp) is a SearchCore with the build's own tables
// added; the code the two builds share reaches it through the build's rules
// type (m28/rules.hpp, m26/rules.hpp: B::state()).
//
//   KILB, KILC  the killer stores (engine/search/ordering.hpp)
//   PLY         depth of the search under way; a node with ply == PLY is the
//               first level below a root move
//   I           1 while an internal sort search (ITERACJASORT) runs: its
//               nodes, and the last-ply searches below them, write no path
//   margin      the positional guess of the last full-width ply of each
//               search routine, White's and Black's (margin.hpp), and
//   marginSet   whether each has been taken yet
//   L           the node counter: moves taken up by the move loops, and
//               captures looked at by the horizon estimate
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

struct SearchCore : Killers {
    i8 PLY = 0;
    i8 I = 0;
    int margin[2] = {0, 0};
    bool marginSet[2] = {false, false};
    u32 L = 0;
};

// How many earlier boards of the game the board equals.  The older builds
// judge repetitions only at the root, once per root move with the move made,
// and the game's history (the driver's) answers: the root is given it.
using Repetitions = int (*)();

}  // namespace morvelak::older
