// Where the pawns stand, read off the board in one sweep: one bit per square
// of ranks 2 to 7 for each colour.  Both evaluations take their pawn
// structure from these two masks instead of walking the 48 squares.
//
// Bit i stands for square 21 + i (a2 = bit 0, h7 = bit 57); the border
// squares of those ranks (x0, x9) have bits too and are never set.  A mask
// shifted by the difference of two squares keeps that difference: a white
// pawn on s protects s + 9 and s + 11, so W & ((W << 9) | (W << 11)) marks
// White's protected pawns, and nothing wraps from the h-file to the a-file
// because the border bits between them are always clear.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

#include "engine/position/types.hpp"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace morvelak {

using u64 = std::uint64_t;

struct PawnMasks {
    u64 white;  // white pawns on ranks 2 to 7
    u64 black;  // black pawns on ranks 2 to 7
    // A pawn on the first or last rank: no game reaches that, but a board
    // set up by hand may hold one, and the rules then read it as a protector
    // or a file blocker.  The fast routines leave such boards to the plain
    // square-by-square code.
    bool stray;
};

inline constexpr int PAWN_MASK_BASE = 21;
inline constexpr u64 PAWN_MASK_SQUARES = (u64{1} << 58) - 1;

// The squares of file f (0 = a) in the mask, ranks 2 to 7.
inline constexpr u64 pawn_file_mask(int f) {
    u64 m = 0;
    for (int k = 0; k < 6; ++k) m |= u64{1} << (f + 10 * k);
    return m;
}

// The square-by-square reading, for any platform and as the yardstick.
inline PawnMasks pawn_masks_plain(const i8* pl) {
    PawnMasks m{0, 0, false};
    for (int s = PAWN_MASK_BASE; s <= 78; ++s) {
        if (pl[s] == W_PAWN) m.white |= u64{1} << (s - PAWN_MASK_BASE);
        if (pl[s] == B_PAWN) m.black |= u64{1} << (s - PAWN_MASK_BASE);
    }
    for (int s = 11; s <= 18; ++s) m.stray |= pl[s] == W_PAWN || pl[s] == B_PAWN;
    for (int s = 81; s <= 88; ++s) m.stray |= pl[s] == W_PAWN || pl[s] == B_PAWN;
    return m;
}

// The same with sixteen squares compared at once where the processor can.
// Reads pl[0..95], all inside the 100-square board.
inline PawnMasks pawn_masks(const i8* pl) {
#if defined(__SSE2__)
    auto chunk = [&](int k) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(pl + 16 * k)); };
    auto bits = [](__m128i v, __m128i code) {
        return static_cast<u64>(static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, code))));
    };
    const __m128i wp = _mm_set1_epi8(W_PAWN), bp = _mm_set1_epi8(B_PAWN);
    // Squares 16..79: ranks 2 to 7 and a little of ranks 1 and 8.
    const __m128i c1 = chunk(1), c2 = chunk(2), c3 = chunk(3), c4 = chunk(4);
    const u64 w = bits(c1, wp) | bits(c2, wp) << 16 | bits(c3, wp) << 32 | bits(c4, wp) << 48;
    const u64 b = bits(c1, bp) | bits(c2, bp) << 16 | bits(c3, bp) << 32 | bits(c4, bp) << 48;
    constexpr int SHIFT = PAWN_MASK_BASE - 16;
    // Stray pawns: squares 11..15 of the first chunk, 16..18 of the second,
    // 81..88 of the sixth.  A byte with (code & 0xE7) == 1 is a pawn of
    // either colour (9 or 17; the codes 1 and 25 are never on a board, and
    // if they were, only the plain code would run).
    const __m128i pawnBits = _mm_set1_epi8(static_cast<char>(0xE7)), one = _mm_set1_epi8(1);
    const u64 edge = (bits(_mm_and_si128(chunk(0), pawnBits), one) & 0xF800) |
                     (bits(_mm_and_si128(chunk(5), pawnBits), one) & 0x01FE);
    PawnMasks m;
    m.white = w >> SHIFT & PAWN_MASK_SQUARES;
    m.black = b >> SHIFT & PAWN_MASK_SQUARES;
    m.stray = (edge | ((w | b) & 0x7)) != 0;
    return m;
#else
    return pawn_masks_plain(pl);
#endif
}

// Number of set bits (the processor's own instruction is not assumed).
inline constexpr int count_bits(u64 x) {
    x = x - (x >> 1 & 0x5555555555555555ULL);
    x = (x & 0x3333333333333333ULL) + (x >> 2 & 0x3333333333333333ULL);
    x = (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0FULL;
    return static_cast<int>(x * 0x0101010101010101ULL >> 56);
}

}  // namespace morvelak
