// m26's attack map and the generator that reads it.
//
// siatka (the engine's SIATKAB / SIATKAC) marks, in a 100-byte map, every square one side's pieces
// attack, one bit per kind of attacker:
//
//   pawn 1   knight 2   bishop 4   rook 8   queen 16   king 32
//
// The map is drawn for the king of the other side, which is why it differs
// from a plain "is this square attacked" picture in two ways: a ray runs on
// through the enemy king (a square behind the king on a checker's line is
// still attacked once the king steps back along that line), and a ray marks
// the piece that stops it whatever its colour (a defended piece counts as
// attacked, so the king must not take it).
//
// ruchy (RUCHYB / RUCHYC) is the plain generator with the king kept off every marked
// square and the castling squares read from the map instead of the attack
// test; everything else, order included, is the plain generator's.
#pragma once

#include "engine/position/movegen.hpp"
#include "engine/position/position.hpp"

namespace morvelak {

inline constexpr int MAP_SQUARES = 100;

// Attacker bits of the map.
inline constexpr i8 MAP_PAWN = 1;
inline constexpr i8 MAP_KNIGHT = 2;
inline constexpr i8 MAP_BISHOP = 4;
inline constexpr i8 MAP_ROOK = 8;
inline constexpr i8 MAP_QUEEN = 16;
inline constexpr i8 MAP_KING = 32;

namespace detail {

// One ray of side A's slider from s towards d: every empty square and the
// enemy king's square is marked and passed, the square that stops the ray (a
// piece of either colour or the border) is marked last.  Rays start on a
// playing square and the border ring stops them, so t stays within 0..99.
template <Side A>
inline void map_ray(const i8* pl, i8* si, int s, int d, i8 bit) {
    int t = s + d;
    while (pl[t] == 0 || pl[t] == Own<A>::enemyKing) {
        si[t] |= bit;
        t += d;
    }
    si[t] |= bit;
}

}  // namespace detail

// Fills si (MAP_SQUARES bytes) with the squares side A's pieces on pl attack;
// list is A's piece list, its own_count<A>() entries are visited.  Entries of
// captured pieces (code 0) mark nothing.
template <Side A>
inline void siatka(const i8* pl, i8* si, const i8* list) {
    using O = Own<A>;
    // The directions are the same for both sides; only the pawn's differ.
    static constexpr int diagonal[4] = {11, 9, -11, -9};
    static constexpr int line[4] = {10, 1, -1, -10};
    static constexpr int all[8] = {11, 9, 10, 1, -1, -11, -9, -10};
    for (int t = 0; t < MAP_SQUARES; ++t) si[t] = 0;
    const int count = own_count<A>();
    for (int i = 0; i < count; ++i) {
        const i8 code = list[2 * i];
        const int s = list[2 * i + 1];
        switch (code) {
        case O::pawn:
            // Whatever stands there: a pawn defends its own pieces too.
            si[s + O::capLeft] |= MAP_PAWN;
            si[s + O::capRight] |= MAP_PAWN;
            break;
        case O::knight:
            for (int k = 0; k < ILS[s]; ++k) si[SKO[s][k]] |= MAP_KNIGHT;
            break;
        case O::bishop:
            for (int d : diagonal) detail::map_ray<A>(pl, si, s, d, MAP_BISHOP);
            break;
        case O::rook:
            for (int d : line) detail::map_ray<A>(pl, si, s, d, MAP_ROOK);
            break;
        case O::queen:
            for (int d : all) detail::map_ray<A>(pl, si, s, d, MAP_QUEEN);
            break;
        case O::king:
            for (int k = 0; k < ILK[s]; ++k) si[KRO[s][k]] |= MAP_KING;
            break;
        default:
            break;
        }
    }
}

// Generator rules that read a map of the enemy's attacks: the king steps and
// takes only where the map is clear, and castling asks the map about the
// king's three squares.
struct ByAttackMap {
    const i8* si;
    static constexpr bool castles = true;
    bool king_may(int t) const { return si[t] == 0; }
    template <Side T> bool safe(const i8*, int sq) const { return si[sq] == 0; }
};

// Side S's moves with the king kept off the squares marked in si, the map of
// the opponent's attacks made just before (SIATKAC for White's moves, SIATKAB
// for Black's).  Lists, counts and the -1 result as superruchy.
template <Side S>
inline int ruchy(const i8* pl, const i8* list, Move* ru, Move* bi, const i8* wyj, int* ilb,
                 const i8* si) {
    return generate_moves<S>(pl, list, ru, bi, wyj, ilb, ByAttackMap{si});
}

}  // namespace morvelak
