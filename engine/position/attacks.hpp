// Is a square attacked by a given side?  Every legality and safety question
// of the engine comes down to this, and the capture estimate asks it once per
// capture, so it is a straight-line test on the board bytes: eight unrolled
// rays, each dismissed by one AND when its first square holds a defender's
// piece or the border, then the knight jumps by explicit rank/file bounds.
//
// The piece standing on the tested square itself never counts or blocks.
#pragma once

#include "engine/position/types.hpp"

namespace morvelak {
namespace detail {

// One ray from a towards D.  Adjacent attackers are found by one comparison;
// beyond the first square only the ray's sliders can attack.
template <Side A, int D, bool PawnSide, bool Diagonal>
inline bool ray_attack(const i8* pl, int a) {
    using O = Own<A>;
    int t = a + D;
    i8 c = pl[t];
    if (c & O::enemyOrBorder) return false;
    if constexpr (Diagonal) {
        if (c == O::king || c == O::bishop || c == O::queen) return true;
        if constexpr (PawnSide) {
            if (c == O::pawn) return true;
        }
        if (c) return false;
        do { t += D; c = pl[t]; } while (c == 0);
        return c == O::bishop || c == O::queen;
    } else {
        if (c == O::king || c == O::rook || c == O::queen) return true;
        if (c) return false;
        do { t += D; c = pl[t]; } while (c == 0);
        return c == O::rook || c == O::queen;
    }
}

}  // namespace detail

// 1 if a piece of side A on board pl attacks square a (a playing square).
template <Side A>
inline int attacked_by(const i8* pl, int a) {
    using namespace detail;
    using O = Own<A>;
    // The diagonals from which A's pawns strike a: below a for White.
    constexpr int p1 = -O::capRight, p2 = -O::capLeft;
    if (ray_attack<A, p1, true, true>(pl, a)) return 1;
    if (ray_attack<A, p2, true, true>(pl, a)) return 1;
    if (ray_attack<A, -O::up, false, false>(pl, a)) return 1;
    if (ray_attack<A, +1, false, false>(pl, a)) return 1;
    if (ray_attack<A, -1, false, false>(pl, a)) return 1;
    if (ray_attack<A, -p1, false, true>(pl, a)) return 1;
    if (ray_attack<A, -p2, false, true>(pl, a)) return 1;
    if (ray_attack<A, O::up, false, false>(pl, a)) return 1;

    // Knights: rank bounds keep every index inside the board array, file
    // conditions stop jumps that would wrap round an edge.
    const int f = a % 10;
    constexpr i8 n = O::knight;
    if constexpr (A == Side::White) {
        if (a - 12 >= 11 && f > 2 && pl[a - 12] == n) return 1;
        if (a - 21 >= 11 && f != 1 && pl[a - 21] == n) return 1;
        if (a - 19 >= 11 && f != 8 && pl[a - 19] == n) return 1;
        if (a - 8 >= 11 && f < 7 && pl[a - 8] == n) return 1;
        if (a + 21 <= 88 && f != 8 && pl[a + 21] == n) return 1;
        if (a + 12 <= 88 && f < 7 && pl[a + 12] == n) return 1;
        if (a + 19 <= 88 && f != 1 && pl[a + 19] == n) return 1;
        if (a + 8 <= 88 && f > 2 && pl[a + 8] == n) return 1;
    } else {
        if (a + 21 <= 88 && f != 8 && pl[a + 21] == n) return 1;
        if (a + 12 <= 88 && f < 7 && pl[a + 12] == n) return 1;
        if (a + 19 <= 88 && f != 1 && pl[a + 19] == n) return 1;
        if (a + 8 <= 88 && f > 2 && pl[a + 8] == n) return 1;
        if (a - 12 >= 11 && f > 2 && pl[a - 12] == n) return 1;
        if (a - 21 >= 11 && f != 1 && pl[a - 21] == n) return 1;
        if (a - 19 >= 11 && f != 8 && pl[a - 19] == n) return 1;
        if (a - 8 >= 11 && f < 7 && pl[a - 8] == n) return 1;
    }
    return 0;
}

// Named entry points: does White (B) / Black (C) attack square a?
inline int ODBICIAB(const i8* plansza, int a) { return attacked_by<Side::White>(plansza, a); }
inline int ODBICIAC(const i8* plansza, int a) { return attacked_by<Side::Black>(plansza, a); }

}  // namespace morvelak
