// Game phase of each colour and the mobility counts: the evaluation inputs
// that every build shares.
//
// STANB / STANC: 0 opening, 1 middle game, 2 endgame.  Set once per move
// played in the game (never inside a search), so they are constant during a
// search.  ILOSCPOLB / ILOSCPOLC: the number of moves White / Black had at
// the last node the search generated for them (mobility), written by the
// search.  They are part of each evaluation's state (m31::EVAL, older::EVAL).
#pragma once

#include "engine/position/types.hpp"

namespace morvelak {

struct Phase {
    i8 STANB = 0, STANC = 0;
    int ILOSCPOLB = 0, ILOSCPOLC = 0;
};

struct PhaseResult {
    bool whiteHeavy;  // White has a rook or a queen on the board
    bool blackHeavy;  // Black has a rook or a queen
};

// Decides phase.STANB and phase.STANC from the board PL, the game counter r
// and WART:
// a colour with a knight or bishop still on its back rank is in the opening,
// otherwise in the middle game; r below `young` puts both in the opening and
// r above `grown` both in the middle game; less than 2200 of non-pawn
// material on the board puts both in the endgame.  m31 counts
// plies (12, 18), the older builds full moves (6, 11).
PhaseResult decide_phase(Phase& phase, int r, int young, int grown);

}  // namespace morvelak
