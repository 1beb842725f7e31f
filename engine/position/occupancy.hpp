// Which playing squares are occupied, one 64-bit mask per side.  The capture
// routines ask two questions of it that the board bytes answer only by
// walking: where a ray from a square first meets a piece (the lowest or
// highest set bit of the ray's mask, instead of a loop whose end the
// processor cannot foresee), and whether a piece has any enemy piece within
// reach at all (a knight or a king on its targets, a bishop or a rook on its
// lines of an empty board).
//
// Make and unmake do not keep it: perft and the upper plies, which never ask,
// would pay for it on every move.  The last ply reads it off the board once
// and follows its own captures with occupancy_after.
//
// Bit 8 * (rank - 1) + (file - 1) stands for a playing square: a step that
// raises the square on the 10-wide board (+1, +9, +10, +11) raises the bit,
// so along a ray the nearest piece is the lowest bit for those steps and the
// highest for the others.
#pragma once

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "engine/position/geometry.hpp"
#include "engine/position/types.hpp"

namespace morvelak {

namespace detail {

struct OccupancyTables {
    u64 BIT[100] = {};         // a square's bit; 0 for the border
    i8 SQUARE[65] = {};        // a bit's square; [64] = square 0, on the border
    u64 RAY[100][8] = {};      // the squares beyond a square along each step
    u64 KNIGHT[100] = {};      // the knight's targets (SKO)
    u64 KING[100] = {};        // the king's targets (KRO)
    u64 DIAGONALS[100] = {};   // every square a bishop could reach on an empty board
    u64 LINES[100] = {};       // every square a rook could reach on an empty board

    constexpr OccupancyTables() {
        for (int s = 0; s < 100; ++s) {
            if (!on_board(s)) continue;
            const int bit = 8 * (s / 10 - 1) + (s % 10 - 1);
            BIT[s] = u64{1} << bit;
            SQUARE[bit] = static_cast<i8>(s);
        }
        SQUARE[64] = 0;
        for (int s = 0; s < 100; ++s) {
            if (!on_board(s)) continue;
            for (int k = 0; k < 8; ++k) {
                const int d = STEPS[k];
                for (int t = s + d; on_board(t); t += d) RAY[s][k] |= BIT[t];
            }
            DIAGONALS[s] = RAY[s][1] | RAY[s][3] | RAY[s][5] | RAY[s][7];
            LINES[s] = RAY[s][0] | RAY[s][2] | RAY[s][4] | RAY[s][6];
            for (int k = 0; k < ILS[s]; ++k) KNIGHT[s] |= BIT[SKO[s][k]];
            for (int k = 0; k < ILK[s]; ++k) KING[s] |= BIT[KRO[s][k]];
        }
    }
    // The eight steps, in the order of RAY's second index.
    static constexpr int STEPS[8] = {1, 9, 10, 11, -1, -9, -10, -11};
};

constexpr int ray_index(int step) {
    switch (step) {
    case 1: return 0;
    case 9: return 1;
    case 10: return 2;
    case 11: return 3;
    case -1: return 4;
    case -9: return 5;
    case -10: return 6;
    default: return 7;  // -11
    }
}

}  // namespace detail

inline constexpr detail::OccupancyTables OCCUPANCY{};

struct Occupancy {
    u64 white, black;
    friend bool operator==(const Occupancy&, const Occupancy&) = default;
};

template <Side S> [[gnu::always_inline]] inline u64& own_occupancy(Occupancy& o) {
    if constexpr (S == Side::White) return o.white; else return o.black;
}
template <Side S> [[gnu::always_inline]] inline u64 own_occupancy(const Occupancy& o) {
    if constexpr (S == Side::White) return o.white; else return o.black;
}

// The occupancy read off the board bytes.  With SSE2 two ranks at a time: the
// colour bits (8 for White, 16 for Black) are shifted up to each byte's top
// bit, where one instruction gathers them; the border's bit 64 never gets
// there.
inline Occupancy occupancy_of(const i8* pl) {
    Occupancy o{0, 0};
#if defined(__SSE2__)
    for (int r = 0; r < 8; r += 2) {
        // Two ranks' eight squares side by side in one register.
        const __m128i v = _mm_unpacklo_epi64(
            _mm_loadl_epi64(reinterpret_cast<const __m128i*>(pl + 10 * r + 11)),
            _mm_loadl_epi64(reinterpret_cast<const __m128i*>(pl + 10 * r + 21)));
        const u64 w = static_cast<u16>(_mm_movemask_epi8(_mm_slli_epi16(v, 4)));
        const u64 b = static_cast<u16>(_mm_movemask_epi8(_mm_slli_epi16(v, 3)));
        o.white |= w << (8 * r);
        o.black |= b << (8 * r);
    }
#else
    for (int s = 11; s <= 88; ++s) {
        if (!on_board(s)) continue;
        if (pl[s] & WHITE_BIT) o.white |= OCCUPANCY.BIT[s];
        if (pl[s] & BLACK_BIT) o.black |= OCCUPANCY.BIT[s];
    }
#endif
    return o;
}

// The occupancy after side S's move m, made on the board pl with the undo
// record z (z[0] the moving piece before the move, z[1] its square, z[2] what
// stood on the destination), from the occupancy o before it.
template <Side S>
[[gnu::always_inline]] inline Occupancy occupancy_after(Occupancy o, Move m, const i8* z, const i8* pl) {
    using O = Own<S>;
    if (m.x2 < 0) {  // castling: the king's and the rook's squares
        constexpr int e = O::kingHome;
        own_occupancy<S>(o) ^= m.x2 == CASTLE_SHORT
            ? OCCUPANCY.BIT[e] | OCCUPANCY.BIT[e + 1] | OCCUPANCY.BIT[e + 2] | OCCUPANCY.BIT[e + 3]
            : OCCUPANCY.BIT[e] | OCCUPANCY.BIT[e - 1] | OCCUPANCY.BIT[e - 2] | OCCUPANCY.BIT[e - 4];
        return o;
    }
    own_occupancy<S>(o) ^= OCCUPANCY.BIT[z[1]] | OCCUPANCY.BIT[m.x2];
    own_occupancy<Opp<S>>(o) &= ~OCCUPANCY.BIT[m.x2];
    // A pawn that went aside onto an empty square took en passant, unless
    // the make found no list entry for the victim and left it standing.
    if (z[0] == O::pawn && z[2] == 0 && (m.x2 - z[1]) % 10 != 0) {
        const int victim = m.x2 - O::up;
        if (pl[victim] == 0) own_occupancy<Opp<S>>(o) &= ~OCCUPANCY.BIT[victim];
    }
    return o;
}

// The first square from s along step dd that holds a piece of either side,
// given the occupied squares occ; square 0 (a border byte) when the ray meets
// only empty squares before the edge.  Answers as the walk
// "t = s + dd; while (pl[t] == 0) t += dd;" does, for the test of pl[t].
[[gnu::always_inline]] inline int first_on_ray(u64 occ, int s, int dd) {
    const u64 b = OCCUPANCY.RAY[s][detail::ray_index(dd)] & occ;
    int bit;
    if (dd > 0) bit = b ? __builtin_ctzll(b) : 64;
    else bit = b ? 63 - __builtin_clzll(b) : 64;
    return OCCUPANCY.SQUARE[bit];
}

// The first square from s along step dd that holds a piece, when that piece
// is one of `targets` (a subset of occ); 0 when it is not, or when the ray
// holds none of them at all, which one test of the masks tells before any
// bit is looked for.
[[gnu::always_inline]] inline int first_on_ray_if(u64 occ, u64 targets, int s, int dd) {
    const u64 b = OCCUPANCY.RAY[s][detail::ray_index(dd)] & occ;
    if (!(b & targets)) return 0;
    const int bit = dd > 0 ? __builtin_ctzll(b) : 63 - __builtin_clzll(b);
    return (targets >> bit & 1) ? OCCUPANCY.SQUARE[bit] : 0;
}

}  // namespace morvelak
