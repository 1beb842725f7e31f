// m26's own rules inside the search code the two older builds share (the
// last ply, older/lastply.hpp, and the margin of the last full-width ply,
// older/margin.hpp): its search state, its capture estimate, the light
// make/unmake, its statistics, its positional evaluation and the number of
// killers it keeps.
#pragma once

#include "engine/eval/older/eval.hpp"
#include "engine/position/position.hpp"
#include "engine/search/m26/lightmove.hpp"
#include "engine/search/m26/state.hpp"

namespace morvelak::m26 {

struct Build {
    static older::SearchCore& state() { return SEARCH; }
    // The capture estimate (engine/position/captures.hpp): nothing lifted, a
    // king capture worth 10000, no early cut for a capture onto the last
    // rank, every capture examined counted.
    struct Estimate {
        static constexpr bool lift = false;
        static constexpr int kingCapture = 10000;
        static constexpr bool promoEarlyCut = false;
        static constexpr bool countNodes = true;
        static void count() { ++SEARCH.L; }
    };
    // The last ply: its full generator never castles, so the light
    // make/unmake without castling serves; the best value starts at -32000
    // in check; standing pat does not narrow the window; a move is answered
    // when it reaches the best so far or the own bound.
    static constexpr bool castling = false;
    static constexpr int checkStart = 32000;
    static constexpr bool raiseOnStandPat = false;
    template <Side S> static int make(i8* z, Move m) { return makemove<S>(z, m.nr, m.x2); }
    template <Side S> static void unmake(const i8* z, Move m) { unmakemove<S>(z, m.nr, m.x2); }
    template <Side S> static bool answers(int v, int w, int bound) {
        return S == Side::White ? v >= w || v >= bound : v <= w || v <= bound;
    }
    // Statistics of the last ply (slot 1 of L1 and L2).
    static void entered() { ++SEARCH.L1[1]; }
    static void moved() { ++SEARCH.L2[1]; }
    // The positional score of the margin.
    static int eval() { return OCPOZ(POS.PL, POS.BP, POS.CP); }
    // Killers kept per remaining depth: 6 at depth 1, two more per ply to 16
    // at depth 6; 3 deeper.
    static constexpr int ilk(int ply) { return ply <= 6 ? 2 * ply + 4 : 3; }
};

}  // namespace morvelak::m26
