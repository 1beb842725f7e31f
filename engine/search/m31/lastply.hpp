// The last ply of the full-width search.  Side S is to move in a position
// whose static value d its caller has computed.  S stands pat on d and tries
// its captures, each answered by the other side's one-pass capture estimate;
// after a forcing move (przedluz = 1: a check, or a pawn reaching the seventh
// or eighth rank) every move is tried instead and standing pat is not
// allowed, as long as d does not already fail low.
#pragma once

#include "engine/position/captures.hpp"
#include "engine/position/movegen.hpp"
#include "engine/position/makemove.hpp"
#include "engine/search/m31/state.hpp"

namespace morvelak::m31 {

// The constants of m31's capture estimate (engine/position/captures.hpp):
// the capturer is lifted before the defence test, a king capture is worth
// 9997, a pawn may take onto the last rank by the early cut, and the
// captures examined are not counted.
struct Estimate {
    static constexpr bool lift = true;
    static constexpr int kingCapture = 9997;
    static constexpr bool promoEarlyCut = true;
    static constexpr bool countNodes = false;
};

// The last ply of m31, oblicz_ply1<S> (the engine's OBLICZBPLY1 for White
// to move, OBLICZCPLY1 for Black).
template <Side S>
inline int oblicz_ply1(int d, int alfa, int beta, int pusty, i8* sdroga, int przedluz) {
    using O = Own<S>;
    constexpr Side T = Opp<S>;
    constexpr int sg = O::sign;
    // "at least as good as" / "better than" for the side to move
    auto reaches = [](int v, int b) { return sg > 0 ? v >= b : v <= b; };
    auto better = [](int v, int b) { return sg > 0 ? v > b : v < b; };
    int& own_bound = sg > 0 ? alfa : beta;    // the bound S raises (White) / lowers (Black)
    const int opp_bound = sg > 0 ? beta : alfa;
    const bool writes = SEARCH.I == 0 && pusty == 0;

    // 1-2. Standing pat already refutes the caller's move.
    if (writes) put_pair(sdroga, END_OF_LINE, END_OF_LINE);
    if (reaches(d, opp_bound) && przedluz == 0) return d;
    // 3. Unless a capture improves on it, the line ends with standing pat.
    if (writes) put_pair(sdroga, NO_GOOD_CAPTURE, NO_GOOD_CAPTURE);

    // The board's occupancy, for the capture routines; each move's answer
    // gets it changed by the move.
    const Occupancy occ = occupancy_of(POS.PL);
    Move ru[MAX_MOVES];
    int aa = 0;
    int a;
    int w = -sg * 12000;
    // 5. Full width after a forcing move, as long as d reaches the own bound.
    if (przedluz == 1 && (sg > 0 ? d >= alfa : d <= beta)) {
        a = generate_all<S>(ru, &aa);
        if (a < 0) {
            if (writes) put_pair(sdroga, KING_TAKEN, KING_TAKEN);
            return sg * 10001;
        }
        if (a == 0) {
            if (writes) put_pair(sdroga, STALEMATE, STALEMATE);
            return 0;
        }
    } else {
        // Captures only, standing pat on d.
        w = d;
        if (better(d, own_bound)) own_bound = d;
        a = bicia<S>(POS.PL, own_list<S>(), ru, POS.WYJ, occ);
        if (a < 0) {
            if (writes) put_pair(sdroga, KING_TAKEN, KING_TAKEN);
            return sg * 10001;
        }
        if (a == 0) {
            if (writes) put_pair(sdroga, NO_CAPTURE, NO_CAPTURE);
            return d;
        }
        aa = a;
    }

    i8 zap[8] = {};
    for (int b = 0; b < a; ++b) {
        // Quiet moves are tried only while no move has reached the static
        // value.  White counts the move before this test, Black after it.
        if constexpr (S == Side::White) ++SEARCH.L;
        if (b >= aa && reaches(w, d)) return w;
        if constexpr (S == Side::Black) ++SEARCH.L;

        const Move m = ru[b];
        int v = d + zrobruch<S>(zap, m.nr, m.x2);
        // The other side answers only a move that improves on the own bound.
        if (better(v, own_bound))
            v = tylkobicia<T, Estimate>(POS.PL, own_list<T>(), POS.WYJ, own_bound, v,
                                    occupancy_after<S>(occ, m, zap, POS.PL));
        skasujruch<S>(zap, m.nr, m.x2);

        if (better(v, w)) {
            w = v;
            if (writes) {
                put_pair(sdroga, own_list<S>()[2 * m.nr + 1], m.x2);
                put_pair(sdroga + 2, END_OF_LINE, END_OF_LINE);
            }
        }
        if (better(v, own_bound)) own_bound = v;
        if (reaches(v, opp_bound)) return v;
    }
    return w;
}

}  // namespace morvelak::m31
