// m31's tree search, as its callers see it.
//
// Two routines call each other: OBLICZB for a node with White to move (it
// maximises) and OBLICZC for Black to move (it minimises); every score is
// from White's side.  A node of remaining depth 2 hands each move to the
// last-ply search of the other side (oblicz_ply1 in lastply.hpp: the
// engine's OBLICZCPLY1 / OBLICZBPLY1).
//
//   ply     remaining depth, at least 2
//   d       material balance of the position, White's side
//   alfa    lower end of the window, beta upper end
//   pusty   1 inside a null-move search (passed on to all children)
//   sdroga  the caller's path buffer (PATH_BYTES), filled with the best line
//   trasa   this node's slot in the key path; children get trasa + 1
//
// Scores: a king capture is worth 10000 + the remaining depth (a quicker mate
// weighs more), a draw 0, the open window is -12000..12000.
#pragma once

#include "engine/position/types.hpp"
#include "engine/search/m31/state.hpp"

namespace morvelak::m31 {

int OBLICZB(int ply, int d, int alfa, int beta, int pusty, i8* sdroga, u32* trasa);
int OBLICZC(int ply, int d, int alfa, int beta, int pusty, i8* sdroga, u32* trasa);

}  // namespace morvelak::m31
