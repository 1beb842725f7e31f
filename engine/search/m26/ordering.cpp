#include "engine/search/m26/ordering.hpp"

#include <algorithm>

#include "engine/eval/older/eval.hpp"
#include "engine/position/attackmap.hpp"
#include "engine/position/position.hpp"
#include "engine/position/makemove.hpp"
#include "engine/search/ordering.hpp"

namespace morvelak::m26 {

// Every term is counted from White's side.  O::sign turns an amount that is
// good for the mover into White's view; a piece's worth needs no sign, since
// WART is already signed (White positive, Black negative), so "the mover may
// be lost" is -WART[mover] for either side.
template <Side S>
void posortuj(Move* ru, int a1, int a2, const i8* si) {
    using O = Own<S>;
    const i8* own = own_list<S>();
    int v[MAX_MOVES];

    // 1. Captures: the victim, a bonus for taking with a pawn, the mover's
    //    worth lost if the target is attacked and saved if its own square
    //    is, and a further penalty for a piece walking into a pawn's reach.
    const int nc = std::min(a1, MAX_MOVES);
    for (int k = 0; k < nc; ++k) {
        const int f = own[2 * ru[k].nr + 1];
        const int t = ru[k].x2;
        const i8 mover = POS.PL[f];
        const bool pawn = mover == O::pawn;
        int value = -POS.WART[POS.PL[t]];
        if (pawn) value += O::sign * 100;
        if (si[t]) value -= POS.WART[mover];
        if (si[f]) value += POS.WART[mover];
        if ((si[t] & MAP_PAWN) && !pawn) value -= O::sign * 100;
        v[k] = value;
    }
    sort_best_first<S>(ru, v, nc);

    // 2. Quiet moves: a piece leaving a pawn's reach gains, one entering it
    //    loses, and the mover's worth counts as for captures (castling has
    //    none of these terms).  A move that does not lose by this guess is
    //    played out and the positional score of the result added.
    Move* quiet = ru + a1;
    const int nq = std::min(a2 - a1, MAX_MOVES);
    for (int k = 0; k < nq; ++k) {
        const int nr = quiet[k].nr;
        const int t = quiet[k].x2;
        int value = 0;
        if (t >= 0) {
            const int f = own[2 * nr + 1];
            const i8 mover = POS.PL[f];
            const bool pawn = mover == O::pawn;
            if ((si[f] & MAP_PAWN) && !pawn) value += O::sign * 300;
            if ((si[t] & MAP_PAWN) && !pawn) value -= O::sign * 300;
            if (si[t]) value -= POS.WART[mover];
            if (si[f]) value += POS.WART[mover];
        }
        if (O::sign * value >= 0) {
            i8 zap[8];
            zrobruch<S>(zap, nr, t);
            value += OCPOZ(POS.PL, POS.BP, POS.CP);
            skasujruch<S>(zap, nr, t);
        }
        v[k] = value;
    }
    sort_best_first<S>(quiet, v, nq);
}

template void posortuj<Side::White>(Move*, int, int, const i8*);
template void posortuj<Side::Black>(Move*, int, int, const i8*);

}  // namespace morvelak::m26
