// Full pseudo-legal move generation in one pass over a side's piece list,
// sorted while generating into captures (with promotions) and quiet moves
// (with double steps and castling).  Legality is left to the search: a move
// that leaves the own king attacked is refuted one ply later, when the
// opponent's generator finds the king capture and returns -1.
//
// Lists come out in piece-list order, and within a piece: king and knight in
// their table order; pawn captures, single step, double step; castling before
// a rook's rays; each ray outward from the piece.
#pragma once

#include <cstring>

#include <initializer_list>

#include "engine/position/attacks.hpp"
#include "engine/position/position.hpp"

namespace morvelak {
namespace detail {

template <Side S> struct GenRays;
template <> struct GenRays<Side::White> {
    static constexpr int bishop[4] = {11, 9, -11, -9};
    static constexpr int rook[4] = {10, 1, -1, -10};
    static constexpr int queen[8] = {11, 9, 10, 1, -1, -11, -9, -10};
};
template <> struct GenRays<Side::Black> {
    static constexpr int bishop[4] = {-11, -9, 11, 9};
    static constexpr int rook[4] = {-10, 1, -1, 10};
    static constexpr int queen[8] = {-11, -9, -10, 1, -1, 11, 9, 10};
};

}  // namespace detail

// What a generator asks before it lets the king step somewhere and before it
// castles.  The plain generator lets the king go anywhere (a step into check
// is refuted one ply later by the king capture) and asks the attack test for
// the castling squares; m26's attack-map generator (see
// attackmap.hpp) answers both from a map of the enemy's attacks instead.
template <bool Castling>
struct ByAttackTest {
    static constexpr bool castles = Castling;
    static constexpr bool king_may(int) { return true; }
    template <Side T> [[gnu::always_inline]] static bool safe(const i8* pl, int sq) {
        return !odbicia<T>(pl, sq);
    }
};

// The one generator body.  Generates side S's moves: quiet moves into ru
// (their count is returned), captures into bi (their count is added to *ilb).
// Returns -1 when the enemy king can be captured; the lists are then
// incomplete.  Rules decides the king's targets and castling (above).
// Kept out of line: the body is large, and a copy inlined into each caller
// buys no speed (perft bench) but costs code size.
template <Side S, class Rules>
[[gnu::noinline]] inline int generate_moves(const i8* pl, const i8* list, Move* ru, Move* bi,
                                            const i8* wyj, int* ilb, const Rules& rules) {
    using O = Own<S>;
    using R = detail::GenRays<S>;
    constexpr Side T = Opp<S>;
    const int count = own_count<S>();
    int nq = 0;
    int nc = *ilb;
    auto quiet = [&](int i, int t) { ru[nq++] = Move{static_cast<i8>(i), static_cast<i8>(t)}; };
    auto capture = [&](int i, int t) { bi[nc++] = Move{static_cast<i8>(i), static_cast<i8>(t)}; };
    // A king's or a knight's step to t: a quiet move to an empty square, a
    // capture of an enemy piece; false when that piece is the enemy king.
    auto step = [&](int i, int t) {
        const i8 c = pl[t];
        if (c == 0) quiet(i, t);
        else if (c & O::enemy) {
            if (c == O::enemyKing) return false;
            capture(i, t);
        }
        return true;
    };

#define MV_SLIDE(DIRS, ND)                                  \
    for (int k = 0; k < (ND); ++k) {                        \
        const int dd = DIRS[k];                             \
        int t = s + dd;                                     \
        while (pl[t] == 0) { quiet(i, t); t += dd; }        \
        if (pl[t] & O::enemy) {                             \
            if (pl[t] == O::enemyKing) return -1;           \
            capture(i, t);                                  \
        }                                                   \
    }

    for (int i = 0; i < count; ++i) {
        const i8 code = list[2 * i];
        const int s = list[2 * i + 1];
        // Pawns, the most common entries, before the jump on the code.
        if (code == O::pawn) {
            if (pawn_may_take<S>(pl, s, wyj)) {
                for (int t : {s + O::capLeft, s + O::capRight}) {
                    const i8 c = pl[t];
                    if (c != BORDER && ((c & O::enemy) || t == wyj[O::epSlot])) {
                        if (c == O::enemyKing) return -1;
                        capture(i, t);
                    }
                }
            }
            const int t = s + O::up;
            if (pl[t] == 0) {
                if (t / 10 == O::lastRank) capture(i, t);  // promotion
                else quiet(i, t);
                if (s / 10 == O::startRank && pl[t + O::up] == 0) quiet(i, t + O::up);
            }
            continue;
        }
        switch (code) {
        case O::king:
            for (int k = 0; k < ILK[s]; ++k) {
                const int t = KRO[s][k];
                if (rules.king_may(t) && !step(i, t)) return -1;
            }
            break;
        case O::knight:
            for (int k = 0; k < ILS[s]; ++k)
                if (!step(i, SKO[s][k])) return -1;
            break;
        case O::bishop:
            MV_SLIDE(R::bishop, 4)
            break;
        case O::rook:
            if constexpr (Rules::castles) {
                constexpr int e = O::kingHome;
                // King side: e, f, g free of attack; queen side: e, d, c (b may be attacked).
                if (s == O::rookShort && pl[e] == O::king && (wyj[O::rightsSlot] & 1) &&
                    pl[e + 1] == 0 && pl[e + 2] == 0 && rules.template safe<T>(pl, e) &&
                    rules.template safe<T>(pl, e + 1) && rules.template safe<T>(pl, e + 2))
                    quiet(i, CASTLE_SHORT);
                if (s == O::rookLong && pl[e] == O::king && (wyj[O::rightsSlot] & 2) &&
                    pl[e - 3] == 0 && pl[e - 2] == 0 && pl[e - 1] == 0 &&
                    rules.template safe<T>(pl, e) && rules.template safe<T>(pl, e - 1) &&
                    rules.template safe<T>(pl, e - 2))
                    quiet(i, CASTLE_LONG);
            }
            MV_SLIDE(R::rook, 4)
            break;
        case O::queen:
            MV_SLIDE(R::queen, 8)
            break;
        default:
            break;
        }
    }
#undef MV_SLIDE
    *ilb = nc;
    return nq;
}

// The engine's main generator, superruchy (SUPERRUCHYB / SUPERRUCHYC).
// Castling=false gives m26's generator for the search, which never castles
// there.
template <Side S, bool Castling = true>
inline int superruchy(const i8* pl, const i8* list, Move* ru, Move* bi, const i8* wyj, int* ilb) {
    return generate_moves<S>(pl, list, ru, bi, wyj, ilb, ByAttackTest<Castling>{});
}

// All moves of side S in one list, captures first, then the quiet moves,
// each group in generation order: the list every search node and the root
// start from.  Returns the total, with the number of captures in *aa, or -1
// when the enemy king can be captured.
template <Side S, bool Castling = true>
inline int generate_all(Move* list, int* aa) {
    Move quiet[MAX_MOVES];
    *aa = 0;
    const int nq = superruchy<S, Castling>(POS.PL, own_list<S>(), quiet, list, POS.WYJ, aa);
    if (nq < 0) return -1;
    std::memcpy(list + *aa, quiet, sizeof(Move) * nq);
    return *aa + nq;
}

}  // namespace morvelak
