// m31's game history (GAME.perPly, game.hpp): the board and WYJ after every
// ply, so that moves can be taken back; GAME.R counts plies.  (The older
// builds store two boards per full move and count full moves:
// driver/older/history.hpp.)
#pragma once

#include "driver/game.hpp"
#include "engine/position/position.hpp"

namespace morvelak {

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
