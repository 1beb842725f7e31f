// The closeness of a set of pawns to one king, summed, kept for recent
// pairs of pawns and king square.
//
// Both evaluations keep the pawn structure of a placement in a table keyed
// by the pawns.  A term that also reads a king would put the king in that
// key, and every king move would then work the whole structure out again.
// Such a term is left out of the structure and summed here instead: a king
// move costs one look in this small table, and a miss only a walk over the
// pawns.
//
// One owner uses one closeness throughout: a slot does not say which
// closeness made its sum.
#pragma once

#include <bit>
#include <cstdint>

#include "engine/eval/pawnmasks.hpp"
#include "engine/position/types.hpp"

namespace morvelak {

struct PawnKingSum {
    u64 pawns;  // the pawns (mask of ranks 2 to 7); 0 = empty slot
    std::int16_t sum;
    u8 king;
};

// Direct-mapped, the newest pair evicting the one before it; 16 bytes a
// slot, 64 KB.
inline constexpr int PAWN_KING_BITS = 12;

struct PawnKingSums {
    PawnKingSum slot[1 << PAWN_KING_BITS] = {};

    // The sum of closeness(s, king) over the squares s of the pawn mask
    // (king a square 0..99).
    template <class Closeness>
    [[gnu::always_inline]] int sum(u64 pawns, int king, Closeness&& closeness) {
        if (pawns == 0) return 0;
        const u64 h = pawns * 0x9E3779B97F4A7C15ULL ^ static_cast<u64>(king) * 0xC2B2AE3D27D4EB4FULL;
        PawnKingSum& e = slot[h >> (64 - PAWN_KING_BITS)];
        if (e.pawns != pawns || e.king != king) {
            int s = 0;
            for (u64 m = pawns; m != 0; m &= m - 1) s += closeness(PAWN_MASK_BASE + std::countr_zero(m), king);
            e = {pawns, static_cast<std::int16_t>(s), static_cast<u8>(king)};
        }
        return e.sum;
    }
};

}  // namespace morvelak
