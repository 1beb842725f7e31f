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
// The margin lives in the build's search state (SearchCore::margin), from
// search to search.  The first call of each routine in a fresh state fills
// it with the positional score of the position the routine is entered with.
// Build B gives its positional score as B::eval() and its last ply by its
// rules (lastply.hpp).
#pragma once

#include "engine/position/legal.hpp"
#include "engine/position/makemove.hpp"
#include "engine/position/position.hpp"
#include "engine/search/older/lastply.hpp"

namespace morvelak::older {

template <Side S> inline constexpr int MARGIN_OF = S == Side::White ? 0 : 1;

// On entry to the routine for side S: the first call in a fresh search state
// takes the positional score of its position.
template <class B, Side S>
inline void margin_on_entry() {
    SearchCore& st = B::state();
    if (!st.marginSet[MARGIN_OF<S>]) {
        st.margin[MARGIN_OF<S>] = B::eval();
        st.marginSet[MARGIN_OF<S>] = true;
    }
}

// A move of side S at remaining depth 2, made on the board, with material
// balance e after it: its value through the other side's last ply, within
// the window (alfa, beta).  The child's line goes to ndroga.  check: whether
// the move gives check (the caller's gives_check), which the last ply
// otherwise looks up (-1) for each of its one or two searches.
template <Side S, class B>
inline int last_full_ply(int e, int alfa, int beta, int pusty, i8* ndroga, int check = -1) {
    constexpr Side T = Opp<S>;
    int& margin = B::state().margin[MARGIN_OF<S>];
    auto full = [&] {
        margin = B::eval();
        return oblicz_ply1<T, B>(margin + e, alfa, beta, pusty, ndroga, check);
    };
    const int lazy = margin + e;
    if constexpr (S == Side::White) {
        if (lazy > alfa - 80) return full();
        const int v = oblicz_ply1<T, B>(lazy, alfa - 81, alfa - 80, pusty, ndroga, check);
        if (v < alfa - 80) return v;
    } else {
        if (lazy < beta + 80) return full();
        const int v = oblicz_ply1<T, B>(lazy, beta + 80, beta + 81, pusty, ndroga, check);
        if (v > beta + 80) return v;
    }
    return full();
}

// The same question asked of a move of side S before it is made, from the
// material balance d before it, for the most common case, which needs no
// make and unmake: an ordinary move (not castling, not en passant) whose
// guess is 81 or more short of the own bound and that gives no check.  Its
// last ply then stands pat on the guess at once, and so does the null
// window around it: the value is the guess, and the child's line ends
// there.  Returns false, with nothing changed, for any other move, which
// the caller makes and searches with last_full_ply.  enemyKing: the
// square of the other side's king.
template <Side S, class B>
[[gnu::always_inline]] inline bool guess_stands(Move m, int d, int alfa, int beta, int pusty, i8* ndroga,
                                                int enemyKing, int& v) {
    using O = Own<S>;
    int gain;
    if (!gain_unmade<S>(m, gain)) return false;
    const int lazy = B::state().margin[MARGIN_OF<S>] + d + gain;
    if (S == Side::White ? lazy > alfa - 81 : lazy < beta + 81) return false;
    const i8* own = own_list<S>();
    const i8 piece = own[2 * m.nr];
    const bool promotes = piece == O::pawn && (S == Side::White ? m.x2 > 80 : m.x2 < 19);
    if (gives_check_unmade<S>(own[2 * m.nr + 1], m.x2, promotes ? O::queen : piece, enemyKing)) return false;
    if (B::state().I == 0 && pusty == 0) put_pair(ndroga, END_OF_LINE, END_OF_LINE);
    v = lazy;
    return true;
}

}  // namespace morvelak::older
