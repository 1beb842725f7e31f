// m26's light make/unmake (the engine's MAKEMOVEB / MAKEMOVEC and
// UNMAKEMOVEB / UNMAKEMOVEC), used where castling cannot occur
// (its last-ply search generates without castling).  It is the ordinary-move
// part of the full pair (captures, en passant, double steps, promotion to a
// queen, the same material results) with a 6-byte record:
//
//   [0] moving piece's code before the move (the pawn, for a promotion)
//   [1] origin square
//   [2] PL[destination] before (the captured code or 0)
//   [3] captured piece's index in the opponent's list, or -1
//   [4] WYJ[2] before   [5] WYJ[3] before
//
// Only the two en-passant bytes are saved: an ordinary move never touches the
// castling rights.  The move must not be a castling code (x2 < 0).
#pragma once

#include "engine/position/makemove.hpp"

namespace morvelak::m26 {

inline constexpr int LIGHT_RECORD = 6;

template <Side S>
inline int makemove(i8* z, int nr, int x2) {
    z[4] = POS.WYJ[2];
    z[5] = POS.WYJ[3];
    return make_ordinary<S, 2>(z, nr, x2);
}

// Board and lists first, then the two en-passant bytes.
template <Side S>
inline void unmakemove(const i8* z, int nr, int x2) {
    unmake_ordinary<S, 2>(z, nr, x2);
    POS.WYJ[2] = z[4];
    POS.WYJ[3] = z[5];
}

}  // namespace morvelak::m26
