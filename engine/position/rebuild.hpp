// Derives everything of the position from the board alone: the piece lists
// in TAB order with their counts and king indices, a clean border, the
// capture values WART scaled by the material balance, and castling rights
// and en-passant squares that the board can support.  Runs before every move
// applied or searched, so the game history need only keep the board and WYJ.
#pragma once

#include "engine/position/position.hpp"

namespace morvelak {

// `scale` is the build's material scale (each build's evaluation names it
// SCALE).
void skroctablice(Scale scale);

// Rebuilds only the lists, counts and king indices from PL (steps of the
// full rebuild that do not touch WART or WYJ).
void rebuild_lists();

}  // namespace morvelak
