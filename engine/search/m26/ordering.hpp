// Static move ordering of m26: posortuj (the engine's POSORTUJB / POSORTUJC) sorts a
// node's captures and its quiet moves, each group by itself, by a guess made
// from the attack map of the opponent (attackmap.hpp) and, for quiet moves
// that do not hang anything, the positional evaluation after the move.
#pragma once

#include "engine/position/types.hpp"

namespace morvelak::m26 {

// Sorts ru[0 .. a1) (captures) and ru[a1 .. a2) (quiet moves) of side S in
// place; si is the map of the opponent's attacks.  Values are counted from
// White's side: White's moves go greatest first, Black's smallest first;
// equal values keep their order.  An empty range (a2 <= a1, or a1 = 0) is
// left alone.  The quiet-move guess makes and unmakes moves on POS,
// which is the same afterwards.
template <Side S> void posortuj(Move* ru, int a1, int a2, const i8* si);

}  // namespace morvelak::m26
