// Captures only: bicia (BICIAB / BICIAC) lists them (with pawn steps onto
// the last rank), tylkobicia (TYLKOBICIAB / TYLKOBICIAC) estimates in one
// pass the best score a single capture can reach, standing in for a
// quiescence search at the horizon.
//
// Both take the board's occupancy (occupancy.hpp): a slider's capture along
// a ray is at the ray's first piece, found from the masks, and a knight or a
// king with no enemy piece in reach is passed over.  The order in which
// captures are listed and examined is the board walk's all the same.  Without
// the occupancy they read it off the board.
//
// The estimate is a one-move static exchange: the victim is won, and the
// capturer is lost if the defender attacks the target square.  It returns at
// the first estimate that reaches the caller's bound.  The builds differ in a
// few constants of the estimate, which each build's search gathers in a
// rules type of its own (m31's lastply.hpp, m28's and m26's rules.hpp):
//   lift          take the capturer off its square before the attack test,
//                 so that a defender behind it along the line is seen
//   kingCapture   the value returned when the enemy king can be taken
//   promoEarlyCut the "even losing the pawn would do" shortcut also applies
//                 to a pawn capture onto the last rank
//   countNodes    each capture examined is counted by count(), into the
//                 build's node counter L
#pragma once

#include <initializer_list>
#include <type_traits>

#include "engine/position/attacks.hpp"
#include "engine/position/occupancy.hpp"
#include "engine/position/position.hpp"
#include "util/checks.hpp"

namespace morvelak {

namespace detail {

// Ray directions of the capture routines.  Black's queen does not mirror
// White's: it looks straight down first.
template <Side S> struct CaptureRays;
template <> struct CaptureRays<Side::White> {
    static constexpr int bishop[4] = {11, 9, -11, -9};
    static constexpr int rook[4] = {10, 1, -1, -10};
    static constexpr int queen[8] = {11, 9, 10, 1, -1, -11, -9, -10};
};
template <> struct CaptureRays<Side::Black> {
    static constexpr int bishop[4] = {-11, -9, 11, 9};
    static constexpr int rook[4] = {-10, 1, -1, 10};
    static constexpr int queen[8] = {-10, -11, -9, 1, -1, 11, 9, 10};
};

template <Side S> inline bool on_last_rank(int t) {
    if constexpr (S == Side::White) return t > 80; else return t < 19;
}

// The occupancy a caller hands over, compared with the board when the
// self-checks are on.
inline void check_occupancy(const i8* pl, const Occupancy& o) {
    if constexpr (CHECKS) {
        const Occupancy board = occupancy_of(pl);
        check_equal(static_cast<long>(o.white), static_cast<long>(board.white), "White's occupancy");
        check_equal(static_cast<long>(o.black), static_cast<long>(board.black), "Black's occupancy");
    } else {
        (void)pl; (void)o;
    }
}

// 1 if a piece of side A attacks square a, as odbicia<A>(pl, a) answers on
// the board whose occupied squares are occ, A's own among them being `own`:
// a ray with none of A's pieces is dismissed by one AND, and on any other the
// first piece is found by a bit scan, not by a walk.  The capture estimate
// asks it with the capturer's bit taken out of occ, which is the board with
// the capturer lifted.
template <Side A>
[[gnu::always_inline]] inline int attacked_on(const i8* pl, int a, u64 occ, u64 own) {
    int hit = 0;
    // The GNU spelling: after a lambda's parameters clang reads [[...]] as an
    // attribute of its type and drops it, while both compilers give
    // __attribute__ there to the call operator.
    auto ray = [&]<int K>(std::integral_constant<int, K>) __attribute__((always_inline)) {
        const u64 r = OCCUPANCY.RAY[a][K] & occ;
        if (!(r & own)) return;
        constexpr int d = OccupancyTables::STEPS[K];
        const int t = OCCUPANCY.SQUARE[K < 4 ? __builtin_ctzll(r) : 63 - __builtin_clzll(r)];
        const RayFlags& f = RAY_FLAGS<A>.of[d + 11];
        hit |= FLAGS<A>.f[static_cast<u8>(pl[t])] & (t == a + d ? f.adjacent : f.far);
    };
    ray(std::integral_constant<int, 0>{});
    ray(std::integral_constant<int, 1>{});
    ray(std::integral_constant<int, 2>{});
    ray(std::integral_constant<int, 3>{});
    ray(std::integral_constant<int, 4>{});
    ray(std::integral_constant<int, 5>{});
    ray(std::integral_constant<int, 6>{});
    ray(std::integral_constant<int, 7>{});
    if (hit) return 1;
    if (!(OCCUPANCY.KNIGHT[a] & own)) return 0;
    constexpr i8 n = Own<A>::knight;
    for (int k = 0; k < ILS[a]; ++k)
        if (pl[SKO[a][k]] == n) return 1;
    return 0;
}

}  // namespace detail

// Lists the captures of side S (and its pawn steps onto the last rank) into
// ru in piece-list order.  Returns their number, or -1 as soon as the enemy
// king can be captured.
template <Side S>
inline int bicia(const i8* pl, const i8* list, Move* ru, const i8* wyj, const Occupancy& o) {
    using O = Own<S>;
    using R = detail::CaptureRays<S>;
    detail::check_occupancy(pl, o);
    const int count = own_count<S>();
    const u64 occ = o.white | o.black;
    const u64 enemies = own_occupancy<Opp<S>>(o);
    int n = 0;
    auto add = [&](int i, int t) { ru[n++] = Move{static_cast<i8>(i), static_cast<i8>(t)}; };
    auto slide = [&](int i, int s, const int* dirs, int nd) -> bool {
        for (int k = 0; k < nd; ++k) {
            if (const int t = first_on_ray_if(occ, enemies, s, dirs[k]); t != 0) {
                if (pl[t] == O::enemyKing) return false;
                add(i, t);
            }
        }
        return true;
    };
    for (int i = 0; i < count; ++i) {
        const i8 code = list[2 * i];
        const int s = list[2 * i + 1];
        if (code == O::pawn && !pawn_may_take<S>(pl, s, wyj) && !detail::on_last_rank<S>(s + O::up)) continue;
        switch (code) {
        case O::king:
            if (!(OCCUPANCY.KING[s] & enemies)) break;
            for (int k = 0; k < ILK[s]; ++k) {
                const int t = KRO[s][k];
                if (pl[t] & O::enemy) {
                    if (pl[t] == O::enemyKing) return -1;
                    add(i, t);
                }
            }
            break;
        case O::pawn: {
            if (pawn_may_take<S>(pl, s, wyj)) {
                for (int t : {s + O::capLeft, s + O::capRight}) {
                    if (pl[t] != BORDER && ((pl[t] & O::enemy) || t == wyj[O::epSlot])) {
                        if (pl[t] == O::enemyKing) return -1;
                        add(i, t);
                    }
                }
            }
            const int t = s + O::up;
            if (detail::on_last_rank<S>(t) && pl[t] == 0) add(i, t);
            break;
        }
        case O::knight:
            if (!(OCCUPANCY.KNIGHT[s] & enemies)) break;
            for (int k = 0; k < ILS[s]; ++k) {
                const int t = SKO[s][k];
                if (pl[t] & O::enemy) {
                    if (pl[t] == O::enemyKing) return -1;
                    add(i, t);
                }
            }
            break;
        case O::bishop:
            if (!(OCCUPANCY.DIAGONALS[s] & enemies)) break;
            if (!slide(i, s, R::bishop, 4)) return -1;
            break;
        case O::rook:
            if (!(OCCUPANCY.LINES[s] & enemies)) break;
            if (!slide(i, s, R::rook, 4)) return -1;
            break;
        case O::queen:
            if (!slide(i, s, R::queen, 8)) return -1;
            break;
        default:
            break;  // a captured piece's hole or a filler
        }
    }
    return n;
}

template <Side S>
inline int bicia(const i8* pl, const i8* list, Move* ru, const i8* wyj) {
    return bicia<S>(pl, list, ru, wyj, occupancy_of(pl));
}

// The capture estimate for side S to move from static value d.  For White,
// returns the first estimate >= bound, else the largest of d and every
// estimate; for Black, the first <= bound, else the smallest.
template <Side S, class Rules>
inline int tylkobicia(i8* pl, const i8* list, const i8* wyj, int bound, int d, const Occupancy& o) {
    using O = Own<S>;
    using R = detail::CaptureRays<S>;
    constexpr Side T = Opp<S>;
    // "reaches the bound" and "is better than" from the mover's side
    auto reaches = [](int v, int b) { if constexpr (S == Side::White) return v >= b; else return v <= b; };
    auto better = [](int v, int b) { if constexpr (S == Side::White) return v > b; else return v < b; };
    constexpr int kingValue = O::sign * Rules::kingCapture;

    detail::check_occupancy(pl, o);
    const int count = own_count<S>();
    const u64 occ = o.white | o.black;
    const u64 enemies = own_occupancy<T>(o);
    const u64 defenders = own_occupancy<T>(o);
    int best = d;
    // Whether the defender attacks t once the capturer has left s (lifted
    // where the rules lift it).
    auto defended = [&](int s, int t) {
        if constexpr (Rules::lift) return detail::attacked_on<T>(pl, t, occ & ~OCCUPANCY.BIT[s], defenders);
        else return detail::attacked_on<T>(pl, t, occ, defenders);
    };
    // The capture, if any, of a slider by code on s along step dd.  Returns
    // true when the search of this position can stop with `out`.  Each
    // kind of slider walks its own steps, known when the loop is compiled.
    auto slider_capture = [&](int s, int dd, i8 code, int& out) __attribute__((always_inline)) {
        const int t = first_on_ray_if(occ, enemies, s, dd);
        if (t == 0) return false;
        if (pl[t] == O::enemyKing) { out = kingValue; return true; }
        if constexpr (Rules::countNodes) Rules::count();
        int v = d - POS.WART[pl[t]];
        out = v;
        if (reaches(v - POS.WART[code], bound)) return true;
        if (defended(s, t)) v -= POS.WART[code];
        out = v;
        if (reaches(v, bound)) return true;
        if (better(v, best)) best = v;
        return false;
    };
    for (int i = 0; i < count; ++i) {
        const i8 code = list[2 * i];
        const int s = list[2 * i + 1];
        // Most entries are pawns with nothing to take and no step to the last
        // rank: passed over before the jump to the piece's own code.
        if (code == O::pawn && !pawn_may_take<S>(pl, s, wyj) && !detail::on_last_rank<S>(s + O::up)) continue;
        switch (code) {
        case O::king:
            if (!(OCCUPANCY.KING[s] & enemies)) break;
            for (int k = 0; k < ILK[s]; ++k) {
                const int t = KRO[s][k];
                if (!(pl[t] & O::enemy)) continue;
                if (pl[t] == O::enemyKing) return kingValue;
                if (!defended(s, t)) {  // a king never takes a defended piece
                    if constexpr (Rules::countNodes) Rules::count();
                    const int v = d - POS.WART[pl[t]];
                    if (reaches(v, bound)) return v;
                    if (better(v, best)) best = v;
                }
            }
            break;
        case O::pawn: {
            if (pawn_may_take<S>(pl, s, wyj)) {
                for (int t : {s + O::capLeft, s + O::capRight}) {
                    if (pl[t] == BORDER || !((pl[t] & O::enemy) || t == wyj[O::epSlot])) continue;
                    if (pl[t] == O::enemyKing) return kingValue;
                    if constexpr (Rules::countNodes) Rules::count();
                    int g = POS.WART[pl[t]];
                    if (g == 0) g = POS.WART[O::enemyPawn];  // the empty en-passant target
                    int v = d - g;
                    // Even losing the pawn would do.
                    if (Rules::promoEarlyCut || !detail::on_last_rank<S>(t))
                        if (reaches(v - POS.WART[O::pawn], bound)) return v;
                    if (defended(s, t)) v -= POS.WART[O::pawn];
                    else if (detail::on_last_rank<S>(t)) v += POS.WART[O::queen] - POS.WART[O::pawn];
                    if (reaches(v, bound)) return v;
                    if (better(v, best)) best = v;
                }
            }
            const int t = s + O::up;
            if (detail::on_last_rank<S>(t) && pl[t] == 0) {
                if constexpr (Rules::countNodes) Rules::count();
                const int v = defended(s, t) ? d - POS.WART[O::pawn]
                                                   : d + POS.WART[O::queen] - POS.WART[O::pawn];
                if (reaches(v, bound)) return v;
                if (better(v, best)) best = v;
            }
            break;
        }
        case O::knight:
            if (!(OCCUPANCY.KNIGHT[s] & enemies)) break;
            for (int k = 0; k < ILS[s]; ++k) {
                const int t = SKO[s][k];
                if (!(pl[t] & O::enemy)) continue;
                if (pl[t] == O::enemyKing) return kingValue;
                if constexpr (Rules::countNodes) Rules::count();
                int v = d - POS.WART[pl[t]];
                if (reaches(v - POS.WART[code], bound)) return v;
                // A knight is never lifted: it cannot stand on a line to t.
                if (detail::attacked_on<T>(pl, t, occ, defenders)) v -= POS.WART[code];
                if (reaches(v, bound)) return v;
                if (better(v, best)) best = v;
            }
            break;
        case O::bishop:
            if (!(OCCUPANCY.DIAGONALS[s] & enemies)) break;
            for (int dd : R::bishop)
                if (int out; slider_capture(s, dd, code, out)) return out;
            break;
        case O::rook:
            if (!(OCCUPANCY.LINES[s] & enemies)) break;
            for (int dd : R::rook)
                if (int out; slider_capture(s, dd, code, out)) return out;
            break;
        case O::queen:
            for (int dd : R::queen)
                if (int out; slider_capture(s, dd, code, out)) return out;
            break;
        default:
            break;
        }
    }
    return best;
}

template <Side S, class Rules>
inline int tylkobicia(i8* pl, const i8* list, const i8* wyj, int bound, int d) {
    return tylkobicia<S, Rules>(pl, list, wyj, bound, d, occupancy_of(pl));
}

}  // namespace morvelak
