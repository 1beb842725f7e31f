// Search state of m28, all of it in one struct, SEARCH: what the older
// builds' searches have in common (killers, PLY, the sort flag I, the margins
// of the last full-width ply, the node counter L: older/state.hpp), and m28's
// own position table, the target depth of its next search and what its last
// computer move did.  The program has one; a test or the bench starts from a
// fresh one (SEARCH = SearchState{}).
#pragma once

#include "engine/position/types.hpp"
#include "engine/search/m28/hashtable.hpp"
#include "engine/search/older/state.hpp"

namespace morvelak::m28 {

// The depth of the next search, one per colour (White, Black).  `fresh`: no
// search of this colour yet in the current game, so the first one takes the
// depth of a new game from the clock, however many moves were played before
// it (moves given in force mode, a position set up).
struct TargetDepth {
    i8 n[2] = {9, 9};
    bool fresh[2] = {true, true};
};

// What the last computer move did, for the tests: the root moves in the
// order they were searched, how many of them the position table placed in
// front, the move chosen, the depth behind it as the record gives it (0 when
// nothing was searched) and its score from White's side.
struct RootReport {
    Move order[MAX_MOVES];
    int a;
    int placed;
    int chosen;
    int depth;
    int score;
};

struct SearchState : older::SearchCore {
    record HASH[HASH_RECORDS] = {};
    int HASHL = 0;
    int HASHB = 0;
    TargetDepth target;
    RootReport report = {};
};

extern SearchState SEARCH;

}  // namespace morvelak::m28
