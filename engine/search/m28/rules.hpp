// m28's own rules inside the search code the two older builds share (the
// last ply, older/lastply.hpp, and the margin of the last full-width ply,
// older/margin.hpp): its search state, its capture estimate, the full
// make/unmake, its positional evaluation and the number of killers it
// keeps.
#pragma once

#include "engine/eval/older/eval.hpp"
#include "engine/position/makemove.hpp"
#include "engine/position/position.hpp"
#include "engine/search/m28/state.hpp"

namespace morvelak::m28 {

struct Build {
    static older::SearchCore& state() { return SEARCH; }
    // The capture estimate (engine/position/captures.hpp): nothing lifted, a
    // king capture worth 9997, no early cut for a capture onto the last
    // rank, every capture examined counted.
    struct Estimate {
        static constexpr bool lift = false;
        static constexpr int kingCapture = 9997;
        static constexpr bool promoEarlyCut = false;
        static constexpr bool countNodes = true;
        static void count() { ++SEARCH.L; }
    };
    // The last ply: castling generated, the best value starts at -12000 in
    // check, standing pat narrows the window.
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
    // The positional score of the margin.
    static int eval() { return OCPOZ(POS.PL, POS.BP, POS.CP); }
    // Killers kept per remaining depth: as m31 (engine/search/ordering.hpp).
    static constexpr int ilk(int ply) { return ilk_of(ply); }
};

}  // namespace morvelak::m28
