// The root of m28: one search per move, to a depth the
// clock decides, over root moves put in order beforehand by the position
// table and a shallow search.
//
// Before the search the driver orders the root list: the moves the position
// table stored for this position first (hash_order_root), then the rest by
// presort_root.  begin_root switches to the new depth and empties the table
// for this search; search_root searches every move to the full depth, the
// first with the open window and each later one with a null window just
// above the best so far, again with an open upper end if it beats it.  A
// progress line goes out (to CONTROL.thinking) before every move; a move
// that beats the window gets a second one, marked with "!".  Only the first move's search and the
// re-searches record positions in the table: they are the main lines.
//
// The interface may stop a search (the clock, "?"): the root then plays the
// best move its completed searches stand behind.
#pragma once

#include "engine/position/types.hpp"
#include "engine/search/older/state.hpp"

namespace morvelak::m28 {

// Orders the root moves ru[g .. a) of side S, the ones the position table
// did not place, by a full-window search of each, presort_depth(n) deep.
// Returns the depth of that search, or 0 when there was none: every move was
// placed, or the search to n is too shallow to have a shallower one below it
// (n < 4), or CONTROL stopped it, in which case the moves are put back in
// the order they had before.
template <Side S> int presort_root(Move* ru, int a, int g, int n);

// The search to depth n begins: PLY = n, and the position table is emptied
// for the records of this search (the root has looked it up already).
void begin_root(int n);

// Searches the a root moves of side S at ru to depth n, in their order.  A
// move leading to a board already stored in the game history is a step back
// towards a repetition: it scores -20 for White (+20 for Black) without a
// search (czypotrojne counts the earlier boards of the game).  Returns the index of the best move (the first of equals) and puts
// its score, from White's side, into *best.
//
// When CONTROL stops the search, the move under search counts for nothing:
// the result is the best of the moves searched to the end before it, and
// *finished (when given) receives how many those are.  With none, the index
// is 0, the first move of the order the search started from, and *best 0.
// Under "nopost" no progress line is printed.  In analysis there are none
// either: each new best move gets a thinking line instead, with the real
// time and node count, and nothing goes into the position table.
template <Side S>
int search_root(const Move* ru, int a, int n, older::Repetitions czypotrojne, int* best,
                int* finished = nullptr);

// Analysis of the position for side S to move: the build's own search at
// depth 2, 3, ... up to cap, each ordered by the pre-sort with the best move
// of the depth before in front, until CONTROL stops it.  The game's position
// table is left as the game left it.
template <Side S> void analyse_root(int cap, older::Repetitions czypotrojne);

}  // namespace morvelak::m28
