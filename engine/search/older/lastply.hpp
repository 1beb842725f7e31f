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
// The two builds differ in a handful of rules, gathered in a rules type:
//   Estimate        the capture estimate's constants (king-capture value)
//   castling        whether the full generator offers castling
//   checkStart      the best value's start in check (12000 or 32000)
//   raiseOnStandPat out of check, whether standing pat narrows the window
//   make / unmake   the full make/unmake or the tree-node build's light pair
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
#include "engine/search/m26/lightmove.hpp"
#include "engine/position/makemove.hpp"
#include "engine/search/older/state.hpp"
#include "engine/search/pathbuf.hpp"

namespace morvelak {

namespace m26 {
// Statistics of the tree-node build, per remaining depth; they live with its
// search.  Slot 1 counts the last ply.
extern u32 L1[], L2[];
}  // namespace m26

namespace older {

// The hash-table build's last ply.
struct HashBuildLastPly {
    using Estimate = EstimateHashBuild;
    static constexpr bool castling = true;
    static constexpr int checkStart = 12000;
    static constexpr bool raiseOnStandPat = true;
    template <Side S> static int make(i8* z, Move m) { return zrobruch<S>(z, m.nr, m.x2); }
    template <Side S> static void unmake(const i8* z, Move m) { skasujruch<S>(z, m.nr, m.x2); }
    // Only a move that improves on the own bound is worth an answer.
    template <Side S> static bool answers(int v, int, int bound) {
        return S == Side::White ? v > bound : v < bound;
    }
    static void entered() {}
    static void moved() {}
};

// The tree-node build's last ply.  Its full generator never castles, so the
// light make/unmake without castling serves.
struct TreeBuildLastPly {
    using Estimate = EstimateTreeBuild;
    static constexpr bool castling = false;
    static constexpr int checkStart = 32000;
    static constexpr bool raiseOnStandPat = false;
    template <Side S> static int make(i8* z, Move m) { return m26::makemove<S>(z, m.nr, m.x2); }
    template <Side S> static void unmake(const i8* z, Move m) { m26::unmakemove<S>(z, m.nr, m.x2); }
    // Answered when the move reaches the best so far or the own bound.
    template <Side S> static bool answers(int v, int w, int bound) {
        return S == Side::White ? v >= w || v >= bound : v <= w || v <= bound;
    }
    static void entered() { ++m26::L1[1]; }
    static void moved() { ++m26::L2[1]; }
};

// The one body: OBLICZBPLY1 for S = White, OBLICZCPLY1 for S = Black.
template <Side S, class Rules>
inline int oblicz_ply1(int d, int alfa, int beta, int pusty, i8* sdroga) {
    using O = Own<S>;
    constexpr Side T = Opp<S>;
    constexpr int sg = O::sign;
    // "at least as good as" / "better than" for the side to move
    auto reaches = [](int v, int b) { return sg > 0 ? v >= b : v <= b; };
    auto better = [](int v, int b) { return sg > 0 ? v > b : v < b; };
    int& own_bound = sg > 0 ? alfa : beta;  // the bound S raises (White) / lowers (Black)
    const int opp_bound = sg > 0 ? beta : alfa;
    const bool writes = I == 0 && pusty == 0;

    // 1. In check the side must answer it: no standing pat, every move.
    if (writes) put_pair(sdroga, END_OF_LINE, END_OF_LINE);
    const bool check = attacked_by<T>(POS.PL, king_square<S>());
    // 2. Standing pat already refutes the caller's move.
    if (!check && reaches(d, opp_bound)) return d;
    // 3. Unless a move improves on it, the line ends with standing pat.
    if (writes) put_pair(sdroga, NO_GOOD_CAPTURE, NO_GOOD_CAPTURE);

    Move ru[MAX_MOVES];
    int a;
    int w;
    if (check) {
        // 5a. Every move, from a best value no move can fail to beat.
        w = -sg * Rules::checkStart;
        int aa;
        a = generate_all<S, Rules::castling>(ru, &aa);
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
        if (Rules::raiseOnStandPat && better(d, own_bound)) own_bound = d;
        a = bicia<S>(POS.PL, own_list<S>(), ru, POS.WYJ);
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
    Rules::entered();
    i8 zap[8] = {};
    for (int b = 0; b < a; ++b) {
        ++L;
        Rules::moved();
        const Move m = ru[b];
        int v = d + Rules::template make<S>(zap, m);
        if (Rules::template answers<S>(v, w, own_bound))
            v = tylkobicia<T, typename Rules::Estimate>(POS.PL, own_list<T>(), POS.WYJ, own_bound, v);
        Rules::template unmake<S>(zap, m);

        if (better(v, w)) {
            w = v;
            if (writes) put_pair(sdroga, m.nr, m.x2);
        }
        if (better(v, own_bound)) own_bound = v;
        if (reaches(v, opp_bound)) return v;
    }
    return w;
}

}  // namespace older

namespace m28 {
// Last ply of the hash-table build: White (B) / Black (C) to move.
int OBLICZBPLY1(int d, int alfa, int beta, int pusty, i8* sdroga);
int OBLICZCPLY1(int d, int alfa, int beta, int pusty, i8* sdroga);
}  // namespace m28

namespace m26 {
// Last ply of the tree-node build.  Inline, so that the counters it feeds
// (defined with that build's search) are only needed where the build is
// linked.
inline int OBLICZBPLY1(int d, int alfa, int beta, int pusty, i8* sdroga) {
    return older::oblicz_ply1<Side::White, older::TreeBuildLastPly>(d, alfa, beta, pusty, sdroga);
}
inline int OBLICZCPLY1(int d, int alfa, int beta, int pusty, i8* sdroga) {
    return older::oblicz_ply1<Side::Black, older::TreeBuildLastPly>(d, alfa, beta, pusty, sdroga);
}
}  // namespace m26

}  // namespace morvelak
