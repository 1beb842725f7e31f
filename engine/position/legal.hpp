// Legal moves of the side to move, the way the root and the move input see
// them: generate with the full generator (captures first, then the quiet
// moves, each group in generation order), make each move and keep it when the
// mover's king is not attacked afterwards.
#pragma once

#include "engine/position/attacks.hpp"
#include "engine/position/captures.hpp"
#include "engine/position/movegen.hpp"
#include "engine/position/makemove.hpp"

namespace morvelak {

// odbicia<A>(POS.PL, a), answered by reading the occupancy off the board and
// finding each ray's first piece by a bit scan.  In an endgame the rays are
// long and a walk's end is hard to foresee; the scan does not care.
template <Side A>
[[gnu::always_inline]] inline int attacked_read(int a) {
    const Occupancy o = occupancy_of(POS.PL);
    return detail::attacked_on<A>(POS.PL, a, o.white | o.black, own_occupancy<A>(o));
}

// Is the mover's king attacked after a move?  Asked after every move a node
// makes, with the answer of the full attack test, at less cost: when side
// S's king stands unattacked before the move, a move that leaves the king
// where it is can expose it only by the square it empties (what it lands on
// is S's own piece, which attacks nothing of S and only blocks; a capture only
// takes an attacker away), so only the line through the origin is looked at.
// The king's own moves, castling, en passant (which empties a second square)
// and any move out of check get the full test.
template <Side S>
class KingSafety {
public:
    // Taken in the node's position, before its moves are made; the second
    // form for a node that has worked out whether it stands in check.
    KingSafety() : king_(king_square<S>()), check_(odbicia<Opp<S>>(POS.PL, king_)) {}
    explicit KingSafety(bool check) : king_(king_square<S>()), check_(check) {}

    // After move m of side S, made by zrobruch<S> into the record z: 1 if
    // S's king is attacked, else 0, exactly as odbicia<Opp<S>> at the king.
    [[gnu::always_inline]] int attacked(Move m, const i8* z) const {
        using O = Own<S>;
        const bool passant = z[3] != -1 && z[2] == 0;  // a capture onto an empty square
        if (check_ || m.x2 < 0 || z[0] == O::king || passant) return full();
        return odslona<Opp<S>>(POS.PL, king_, z[1]);  // z[1]: the origin
    }

    bool check() const { return check_; }

private:
    // The full test, out of line: few moves need it.
    [[gnu::noinline]] static int full() { return attacked_read<Opp<S>>(king_square<S>()); }

    int king_;
    bool check_;
};

// Does side S's move, just made by zrobruch<S> into the record z, attack the
// enemy king?  The answer of odbicia<S> at that king, for a position in
// which S did not attack it before the move (a search node has already
// stopped at a hanging king by then).  The king stands where it stood, so
// only three things can reach it: the line through the square the move
// emptied, the line through the square it landed on (the piece that now
// stands there, a promoted queen included), and a knight's jump onto that
// square.  Castling (the rook's new square) and en passant (the taken pawn's
// square) get the full test.
//
// gives_check_by is its part for an ordinary move other than en passant,
// from the squares it left and reached: the board has to stand as after the
// move, its lists need not.  A caller that asks it of many moves of one node
// may hand in the enemy king's square, read once.
template <Side S>
[[gnu::always_inline]] inline int gives_check_by(int from, int x2, int king = king_square<Opp<S>>()) {
    if (POS.PL[x2] == Own<S>::knight && KNIGHT_JUMP.jump[x2 - king + LINE_SPAN]) return 1;
    return odslona<S>(POS.PL, king, from) || odslona<S>(POS.PL, king, x2);
}

// The same for an ordinary move other than en passant asked before it is
// made, with `landed` the piece that will stand on x2 (a queen for a
// promotion): the two squares the move changes are set on the board for
// the test and put back.
template <Side S>
[[gnu::always_inline]] inline int gives_check_unmade(int from, int x2, i8 landed,
                                                     int king = king_square<Opp<S>>()) {
    const i8 piece = POS.PL[from], target = POS.PL[x2];
    POS.PL[from] = 0;
    POS.PL[x2] = landed;
    const int check = gives_check_by<S>(from, x2, king);
    POS.PL[x2] = target;
    POS.PL[from] = piece;
    return check;
}

template <Side S>
[[gnu::always_inline]] inline int gives_check(Move m, const i8* z, int king = king_square<Opp<S>>()) {
    const bool passant = z[3] != -1 && z[2] == 0;
    if (m.x2 < 0 || passant) [[unlikely]] return odbicia<S>(POS.PL, king);
    return gives_check_by<S>(z[1], m.x2, king);
}

// Writes the legal moves of side S into ru (MAX_MOVES entries) and returns
// their number.  Castling=false for m26's generator.
template <Side S, bool Castling = true>
inline int generate_legal(Move* ru) {
    Move r[MAX_MOVES];
    int aa;
    const int all = generate_all<S, Castling>(r, &aa);
    int a = 0;  // a hanging enemy king (all < 0) is not a position of a game
    i8 zap[8] = {};
    const KingSafety<S> safety;
    for (int b = 0; b < all; ++b) {
        zrobruch<S>(zap, r[b].nr, r[b].x2);
        if (!safety.attacked(r[b], zap)) ru[a++] = r[b];
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
