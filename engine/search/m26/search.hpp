// m26's search, as its callers see it.
//
// Two routines call each other: OBLICZB for a node with White to move (it
// maximises) and OBLICZC for Black to move (it minimises); every score is
// from White's side.  A node of remaining depth 2 hands each move to the
// last-ply search of the other side (OBLICZCPLY1 / OBLICZBPLY1).
//
//   ply         remaining depth, at least 2
//   d           material balance of the position, White's side
//   alfa, beta  the window
//   pusty       1 inside a null-move search (passed on to all children)
//   sdroga      the caller's path buffer (PATH_BYTES), filled with the line
//   dowpisania  the tree node of this search node (may be null when flaga = 0)
//   flaga       1: fill dowpisania (see below); 0: write nothing into the tree
//
// The tree of the root: a node with flaga set at ply == PLY (the opponent's
// replies to a root move) gives every move a new child node and passes it
// down with flaga = 1; a node with flaga set at ply >= PLY - 1 records each
// move and its value in its tree node, and the count of moves searched
// (b + 1 on a cut-off at move b, all of them after a full loop).  Every other
// node passes its own node down with flaga = 0.  A tree node holds
// NODE_MOVES moves: a node with more records only its first NODE_MOVES.
//
// Scores: a king capture is worth 10000 + the remaining depth, a draw 0; the
// best value of a node starts at -32000 (White) / 32000 (Black).
#pragma once

#include "engine/position/types.hpp"
#include "engine/search/m26/state.hpp"
#include "engine/search/m26/tree.hpp"

namespace morvelak::m26 {

int OBLICZB(int ply, int d, int alfa, int beta, int pusty, i8* sdroga, wezel* dowpisania, int flaga);
int OBLICZC(int ply, int d, int alfa, int beta, int pusty, i8* sdroga, wezel* dowpisania, int flaga);

// Orders the a moves at ru of White (B) / Black (C) by a search of the given
// depth, best first, and returns the best value.  rodzaj = 1: each move after
// the best so far only has to prove itself worse; rodzaj = 0: full window.
int ITERACJASORTB(int depth, Move* ru, int a, int rodzaj);
int ITERACJASORTC(int depth, Move* ru, int a, int rodzaj);

}  // namespace morvelak::m26
