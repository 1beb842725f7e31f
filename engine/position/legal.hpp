// Legal moves of the side to move, the way the root and the move input see
// them: generate with the full generator (captures first, then the quiet
// moves, each group in generation order), make each move and keep it when the
// mover's king is not attacked afterwards.
#pragma once

#include "engine/position/attacks.hpp"
#include "engine/position/movegen.hpp"
#include "engine/position/makemove.hpp"

namespace morvelak {

// Writes the legal moves of side S into ru (MAX_MOVES entries) and returns
// their number.  Castling=false for m26's generator.
template <Side S, bool Castling = true>
inline int generate_legal(Move* ru) {
    Move r[MAX_MOVES];
    int aa;
    const int all = generate_all<S, Castling>(r, &aa);
    int a = 0;  // a hanging enemy king (all < 0) is not a position of a game
    i8 zap[8] = {};
    for (int b = 0; b < all; ++b) {
        zrobruch<S>(zap, r[b].nr, r[b].x2);
        if (!odbicia<Opp<S>>(POS.PL, king_square<S>())) ru[a++] = r[b];
        skasujruch<S>(zap, r[b].nr, r[b].x2);
    }
    return a;
}

// The origin square of a move of side S (the rook's square for castling).
template <Side S> inline int origin_of(Move m) { return own_list<S>()[2 * m.nr + 1]; }

// Coordinate text of a move of side S in the current position, castling as
// the king's move (e1g1).  Writes 4 characters, no terminator.
template <Side S>
inline void move_text(Move m, char* out) {
    constexpr int e = Own<S>::kingHome;
    int from = origin_of<S>(m), to = m.x2;
    if (m.x2 == CASTLE_SHORT) { from = e; to = e + 2; }
    else if (m.x2 == CASTLE_LONG) { from = e; to = e - 2; }
    out[0] = file_char(from); out[1] = rank_char(from);
    out[2] = file_char(to);   out[3] = rank_char(to);
}

// Finds the legal move of side S written as coordinate text (castling as the
// king's move).  Returns its index in ru[0..a), or -1.
template <Side S>
inline int find_move_text(const Move* ru, int a, const char* text) {
    char t[4];
    for (int b = 0; b < a; ++b) {
        move_text<S>(ru[b], t);
        if (t[0] == text[0] && t[1] == text[1] && t[2] == text[2] && t[3] == text[3]) return b;
    }
    return -1;
}

}  // namespace morvelak
