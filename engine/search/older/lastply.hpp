// The last ply of the older builds' full-width search, written once for both.
//
// Side S is to move in a position whose static value d its caller has
// computed (material and positional score).  Out of check S stands pat on d
// and tries its captures, each answered by the other side's one-pass capture
// estimate (engine/position/captures.hpp).  In check standing pat is no
// option: every move is tried.  A position without a move is scored 0
// whether it is mate or stalemate; the horizon is too close for the older
// builds to tell them apart.
//
// The two builds differ in a handful of rules, which each gives in its
// rules type B (m28/rules.hpp, m26/rules.hpp):
//   state()         the build's search state (older::SearchCore)
//   Estimate        the capture estimate's constants (king-capture value)
//   castling        whether the full generator offers castling
//   checkStart      the best value's start in check (12000 or 32000)
//   raiseOnStandPat out of check, whether standing pat narrows the window
//   make / unmake   the full make/unmake or m26's light pair
//   answers(v, w, bound)  whether the opponent's estimate is asked after a
//                   move that reached v (w the best so far, bound the own
//                   window bound), from White's side
//   entered() / moved()   statistics: a call that reaches its move loop, a
//                   move taken up (besides the node counter L)
//
// Paths: the first pair of sdroga receives the best move as its move-list
// entry (nr, x2), or a marker; the pair after it is not touched.  Nothing is
// written inside a null-move search (pusty = 1) or an internal sort (I = 1).
#pragma once

#include "engine/position/attacks.hpp"
#include "engine/position/captures.hpp"
#include "engine/position/movegen.hpp"
#include "engine/search/older/state.hpp"
#include "engine/search/pathbuf.hpp"

namespace morvelak::older {

// The one body: the engine's OBLICZBPLY1 for S = White, OBLICZCPLY1 for
// S = Black, of build B.
//
// inCheck: whether S is in check, when the caller knows it already (its
// move's gives_check); -1 has it looked up here.
template <Side S, class B>
inline int oblicz_ply1(int d, int alfa, int beta, int pusty, i8* sdroga, int inCheck = -1) {
    using O = Own<S>;
    constexpr Side T = Opp<S>;
    constexpr int sg = O::sign;
    // "at least as good as" / "better than" for the side to move
    auto reaches = [](int v, int b) { return sg > 0 ? v >= b : v <= b; };
    auto better = [](int v, int b) { return sg > 0 ? v > b : v < b; };
    int& own_bound = sg > 0 ? alfa : beta;  // the bound S raises (White) / lowers (Black)
    const int opp_bound = sg > 0 ? beta : alfa;
    const bool writes = B::state().I == 0 && pusty == 0;

    // 1. In check the side must answer it: no standing pat, every move.
    if (writes) put_pair(sdroga, END_OF_LINE, END_OF_LINE);
    const bool check = inCheck >= 0 ? inCheck != 0 : odbicia<T>(POS.PL, king_square<S>()) != 0;
    // 2. Standing pat already refutes the caller's move.
    if (!check && reaches(d, opp_bound)) return d;
    // 3. Unless a move improves on it, the line ends with standing pat.
    if (writes) put_pair(sdroga, NO_GOOD_CAPTURE, NO_GOOD_CAPTURE);

    // The board's occupancy, for the capture routines; each move's answer
    // gets it changed by the move.
    const Occupancy occ = occupancy_of(POS.PL);
    Move ru[MAX_MOVES];
    int a;
    int w;
    if (check) {
        // 5a. Every move, from a best value no move can fail to beat.
        w = -sg * B::checkStart;
        int aa;
        a = generate_all<S, B::castling>(ru, &aa);
        if (a < 0) {
            if (writes) put_pair(sdroga, KING_TAKEN, KING_TAKEN);
            return sg * 10001;
        }
        if (a == 0) {
            // Mate or stalemate: not told apart here, scored as a draw.
            if (writes) put_pair(sdroga, KING_TAKEN, KING_TAKEN);
            return 0;
        }
    } else {
        // 5b. Captures only, standing pat on d.
        w = d;
        if (B::raiseOnStandPat && better(d, own_bound)) own_bound = d;
        a = bicia<S>(POS.PL, own_list<S>(), ru, POS.WYJ, occ);
        if (a < 0) {
            if (writes) put_pair(sdroga, KING_TAKEN, KING_TAKEN);
            return sg * 10001;
        }
        if (a == 0) {
            if (writes) put_pair(sdroga, NO_CAPTURE, NO_CAPTURE);
            return d;
        }
    }

    // 6. The moves, each answered by the other side's capture estimate when
    //    it looks good enough to be worth the question.
    B::entered();
    i8 zap[8] = {};
    for (int b = 0; b < a; ++b) {
        ++B::state().L;
        B::moved();
        const Move m = ru[b];
        int v = d + B::template make<S>(zap, m);
        if (B::template answers<S>(v, w, own_bound))
            v = tylkobicia<T, typename B::Estimate>(POS.PL, own_list<T>(), POS.WYJ, own_bound, v,
                                    occupancy_after<S>(occ, m, zap, POS.PL));
        B::template unmake<S>(zap, m);

        if (better(v, w)) {
            w = v;
            if (writes) put_pair(sdroga, m.nr, m.x2);
        }
        if (better(v, own_bound)) own_bound = v;
        if (reaches(v, opp_bound)) return v;
    }
    return w;
}

}  // namespace morvelak::older
