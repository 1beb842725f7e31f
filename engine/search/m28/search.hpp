// m28's tree search, as its callers see it.
//
// Two routines call each other: OBLICZB for a node with White to move (it
// maximises) and OBLICZC for Black to move (it minimises); every score is
// from White's side.  A node of remaining depth 2 hands each move to the
// other side's last ply (engine/search/old/lastply.hpp).
//
//   ply     remaining depth, 2 .. older::MAX_DEPTH; the children get ply - 1
//   d       material balance of the position, White's side
//   alfa    lower end of the window, beta upper end
//   pusty   1 inside a null-move search (passed on to all children)
//   sdroga  the caller's path buffer (older::PATH_BYTES): this node's best move
//           as its move-list entry (nr, x2), then ply pairs of its child's
//
// Scores: a king capture is worth 10000 + the remaining depth, a draw 0, the
// open window is -12000..12000.  The build judges repetitions only at the
// root, against the game history.
//
// Nodes one level above the root's replies (ply == PLY - 1) record their
// position, moves and values in the position table while it is switched on
// (engine/search/m28/hashtable.hpp).
#pragma once

#include "engine/position/types.hpp"
#include "engine/search/m28/state.hpp"

namespace morvelak::m28 {

int OBLICZB(int ply, int d, int alfa, int beta, int pusty, i8* sdroga);
int OBLICZC(int ply, int d, int alfa, int beta, int pusty, i8* sdroga);

// Orders the a moves at ru of White (B) / Black (C) by a search of the given
// depth, best first, and returns the best value.  rodzaj = 1: each move after
// the best so far only has to prove itself worse; rodzaj = 0: full window.
int ITERACJASORTB(int depth, Move* ru, int a, int rodzaj);
int ITERACJASORTC(int depth, Move* ru, int a, int rodzaj);

}  // namespace morvelak::m28
