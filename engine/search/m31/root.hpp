// Iterative deepening over the root moves of m31, with
// aspiration windows of width 1 behind the first move and a thinking line
// for every new best move.
#pragma once

#include "engine/position/types.hpp"

namespace morvelak::m31 {

// Searches the a legal moves ru of side S to target depth n, reordering ru
// and PV between iterations.  Each improvement prints "depth score 1 1 line"
// with the score from the engine's side (to CONTROL.thinking, unless
// "nopost"), fills droga (PATH_BYTES) with the line and ruchkomputera[0..3]
// with its first move.  Returns the index in ru of the move chosen; *score
// receives its score from White's side and *depth (when given) the depth of
// the iteration behind it.  White clears L when it starts; Black leaves L to
// its caller.
//
// When CONTROL stops the search, the move is the best of the iteration under
// way if one of its root moves was searched to the end, else the choice of
// the last completed iteration, else the first root move (depth 0).
template <Side S>
int deepen(Move* ru, int a, int n, i8* droga, char* ruchkomputera, int* score, int* depth = nullptr);

// Analysis of the current position for side S to move: iterations at depth
// 2, 3, ... up to cap, a thinking line with the real time and node count for
// every new best line, until CONTROL stops it or the cap is reached.
// Returns the last best score (White's side) and the depth reached.
template <Side S> int analyse_root(int cap, int* depth);

}  // namespace morvelak::m31
