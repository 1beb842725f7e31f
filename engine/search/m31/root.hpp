// Iterative deepening over the root moves of the newest build, with
// aspiration windows of width 1 behind the first move and a thinking line
// for every new best move.
#pragma once

#include <cstdio>

#include "engine/position/types.hpp"

namespace morvelak::m31 {

// Where thinking lines go (standard output; the bench silences them).
extern std::FILE* thinking_stream;

// Searches the a legal moves ru of White (B) / Black (C) to target depth n,
// reordering ru and PV between iterations.  Each improvement prints
// "depth score 1 1 line" with the score from the engine's side, fills droga
// (PATH_BYTES) with the line and ruchkomputera[0..3] with its first move.
// Returns the index in ru of the move chosen; *score receives its score from
// White's side and *depth (when given) the depth of the iteration behind it.
// White clears L, L1 and L2 when it starts; Black leaves L to its caller.
//
// When CONTROL stops the search, the move is the best of the iteration under
// way if one of its root moves was searched to the end, else the choice of
// the last completed iteration, else the first root move (depth 0).
int deepen_white(Move* ru, int a, int n, i8* droga, char* ruchkomputera, int* score,
                 int* depth = nullptr);
int deepen_black(Move* ru, int a, int n, i8* droga, char* ruchkomputera, int* score,
                 int* depth = nullptr);

// Analysis of the current position for White / Black to move: iterations at
// depth 2, 3, ... up to cap, a thinking line with the real time and node
// count for every new best line, until CONTROL stops it or the cap is
// reached.  Returns the last best score (White's side) and the depth reached.
int analyse_white(int cap, int* depth);
int analyse_black(int cap, int* depth);

}  // namespace morvelak::m31
