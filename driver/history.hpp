// The game history: the board and WYJ after every ply, so that moves can be
// taken back, and its index R.  The newest build stores one entry per ply and
// R counts plies; the older builds store two boards per full move and R
// counts full moves (their layout lives with their driver).
#pragma once

#include "engine/position/position.hpp"

namespace morvelak {

extern i32 R;  // plies (newest build) or full moves (older builds) played

inline constexpr int HISTORY_PLIES = 512;
extern i8 PLZAP[HISTORY_PLIES][100];
extern i8 WYJZAP[HISTORY_PLIES][4];

// Ply history of the newest build.
void history_start();     // R = 0, store entry 0
// R += 1 and store the position.  A game longer than the history keeps
// playing; only the plies past the end are not stored (and cannot be taken
// back).  Returns false when the position was not stored.
bool history_advance();
// Take back two plies ("remove"): R -= 2 when R > 1, then restore entry R.
void history_remove_two();
// Take back one ply: R -= 1 when R > 0, then restore entry R.
void history_remove_one();

}  // namespace morvelak
