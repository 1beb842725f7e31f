// The last full-width ply of the older builds and its positional guess.
//
// At remaining depth 2 every move leads into the last ply, whose static value
// needs the positional score of the position after the move.  The older
// builds do not compute it for every move.  Each of the two search routines
// (White to move, Black to move) keeps the positional score of the last
// position it evaluated there, its `margin`, and guesses a move's value as
// margin + material.  A move whose guess is not 80 short of the own bound
// gets a fresh positional score (which becomes the new margin) and the full
// last-ply search.  A move whose guess is 80 or more short is first searched
// from the guess with a null window at that distance: if it stays short its
// value stands (the position is that bad, whatever the placement), otherwise
// it is evaluated and searched as the others.
//
// The margin lives for the whole process, from search to search.  The first
// call of each routine fills it with the positional score of the position
// the routine is entered with.
#pragma once

#include "engine/eval/older/eval.hpp"
#include "engine/position/position.hpp"
#include "engine/search/older/lastply.hpp"

namespace morvelak::older {

// The positional score and the last ply of each build.
struct HashBuildEval {
    static int eval() { return m28::OCPOZ(POS.PL, POS.BP, POS.CP); }
    using LastPly = HashBuildLastPly;
};
struct TreeBuildEval {
    static int eval() { return m26::OCPOZ(POS.PL, POS.BP, POS.CP); }
    using LastPly = TreeBuildLastPly;
};

// The margin of build B's routine for side S to move.
template <class B, Side S>
struct Margin {
    static inline int value = 0;
    static inline bool set = false;
};

// On entry to the routine for side S: the first call of the process (or the
// first after reset_margins) takes the positional score of its position.
template <class B, Side S>
inline void margin_on_entry() {
    if (!Margin<B, S>::set) {
        Margin<B, S>::value = B::eval();
        Margin<B, S>::set = true;
    }
}

// Forgets both margins of build B, so that the next search starts as the
// first one of the program did (tests and the bench).
template <class B>
inline void reset_margins() {
    Margin<B, Side::White>::set = false;
    Margin<B, Side::Black>::set = false;
    Margin<B, Side::White>::value = 0;
    Margin<B, Side::Black>::value = 0;
}

// A move of side S at remaining depth 2, made on the board, with material
// balance e after it: its value through the other side's last ply, within
// the window (alfa, beta).  The child's line goes to ndroga.
template <Side S, class B>
inline int last_full_ply(int e, int alfa, int beta, int pusty, i8* ndroga) {
    constexpr Side T = Opp<S>;
    using P = typename B::LastPly;
    int& margin = Margin<B, S>::value;
    auto full = [&] {
        margin = B::eval();
        return oblicz_ply1<T, P>(margin + e, alfa, beta, pusty, ndroga);
    };
    const int lazy = margin + e;
    if constexpr (S == Side::White) {
        if (lazy > alfa - 80) return full();
        const int v = oblicz_ply1<T, P>(lazy, alfa - 81, alfa - 80, pusty, ndroga);
        if (v < alfa - 80) return v;
    } else {
        if (lazy < beta + 80) return full();
        const int v = oblicz_ply1<T, P>(lazy, beta + 80, beta + 81, pusty, ndroga);
        if (v > beta + 80) return v;
    }
    return full();
}

}  // namespace morvelak::older
