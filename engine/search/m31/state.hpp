// Search state of m31, all of it in one struct, SEARCH: what carries over
// from node to node and from search to search, and the bounds every table of
// the search is sized by.  The program has one; a test or the bench starts
// from a fresh one (SEARCH = SearchState{}, then the keys filled).
//
//   KILB, KILC  the killer stores (engine/search/ordering.hpp)
//   PLY         depth of the current iteration; a node with ply == PLY is
//               the first level below a root move
//   PS          reply expected to the root move being searched; the search
//               tries it first one level down and leaves its best reply in it
//   PV          the expected reply to every root move, parallel to the root list
//   I           1 while an internal sort search runs: no path, no repetition test
//   KEY         the position-key table, filled from the random generator at
//               start-up (engine/position/keys.hpp)
//   TRASA       the key path: the last ten game positions, then one slot per
//               level of the search under way
//   L           the node counter: moves taken up by the move loops
//   target      the target depth of the next search of each colour, kept
//               from move to move by the computer move's depth control
#pragma once

#include "engine/position/keys.hpp"
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

// The depth of the next search, one per colour (White, Black).  `fresh`: no
// search of this colour yet in the current game, so the first one takes the
// depth of a new game from the clock, however many plies were played before
// it (moves given in force mode, a position set up).
struct TargetDepth {
    i8 n[2] = {7, 7};
    bool fresh[2] = {true, true};
};

struct SearchState : Killers {
    i8 PLY = 0;
    Move PS{0, 0};
    Move PV[MAX_MOVES] = {};
    i8 I = 0;
    u32 KEY[KEY_ROWS][100] = {};
    u32 TRASA[TRASA_SIZE] = {};
    u32 L = 0;
    TargetDepth target;
};

extern SearchState SEARCH;

// The key of the position, and the key path's step before every move of the
// game: the game part moves down a slot and takes the position's key.
inline u32 KLUCZ() { return klucz(SEARCH.KEY); }
inline void push_key() { push_game_key(SEARCH.TRASA, KLUCZ()); }

}  // namespace morvelak::m31
