// Which entries of a piece list hold which kind of piece, found for the whole
// list at once.  The evaluations visit the knights, the bishops, the rooks,
// ... each kind in list order, and skip the pawns and the holes of captured
// pieces without looking at them one by one.
//
// A mask has bit i set when entry i holds the piece: code at list[2i],
// square at list[2i + 1].  Visiting the set bits from the lowest is visiting
// the entries in list order.
#pragma once

#include <cstdint>

#include "engine/position/position.hpp"
#include "engine/position/types.hpp"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace morvelak {

struct ListMasks {
    std::uint32_t king, pawn, knight, bishop, rook, queen;
};

// The entries in use: the first count (0..16) of the list's 16.
inline std::uint32_t list_entries(int count) {
    return count >= LIST_ENTRIES ? 0xFFFFu : count <= 0 ? 0u : (std::uint32_t{1} << count) - 1;
}

// Entry by entry, for any platform and as the yardstick.
template <Side S>
inline ListMasks list_masks_plain(const i8* list, int count) {
    using O = Own<S>;
    ListMasks m{0, 0, 0, 0, 0, 0};
    const std::uint32_t used = list_entries(count);
    for (int i = 0; i < LIST_ENTRIES; ++i) {
        if (!(used >> i & 1)) continue;
        const std::uint32_t bit = std::uint32_t{1} << i;
        switch (list[2 * i]) {
        case O::king: m.king |= bit; break;
        case O::pawn: m.pawn |= bit; break;
        case O::knight: m.knight |= bit; break;
        case O::bishop: m.bishop |= bit; break;
        case O::rook: m.rook |= bit; break;
        case O::queen: m.queen |= bit; break;
        default: break;
        }
    }
    return m;
}

// The codes of a list's entries in use, from which the mask of one kind is
// read when it is wanted: a caller that needs two kinds pays for two.  All 32
// bytes of the list are read; entries from count on are in no mask.
class ListCodes {
public:
    ListCodes(const i8* list, int count) : used_(list_entries(count)) {
#if defined(__SSE2__)
        // The sixteen codes side by side: the low byte of every 16-bit word.
        const __m128i low = _mm_set1_epi16(0x00FF);
        codes_ = _mm_packus_epi16(
            _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(list)), low),
            _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(list + 16)), low));
#else
        list_ = list;
#endif
    }

    // The entries in use.
    std::uint32_t used() const { return used_; }

    // The entries in use holding `code`.
    std::uint32_t holding(i8 code) const {
#if defined(__SSE2__)
        return static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(codes_, _mm_set1_epi8(code)))) & used_;
#else
        std::uint32_t m = 0;
        for (int i = 0; i < LIST_ENTRIES; ++i)
            if (list_[2 * i] == code) m |= std::uint32_t{1} << i;
        return m & used_;
#endif
    }

private:
    std::uint32_t used_;
#if defined(__SSE2__)
    __m128i codes_;
#else
    const i8* list_;
#endif
};

// Side S's list, every kind at once.
template <Side S>
inline ListMasks list_masks(const i8* list, int count) {
    using O = Own<S>;
    const ListCodes codes(list, count);
    return {codes.holding(O::king), codes.holding(O::pawn), codes.holding(O::knight),
            codes.holding(O::bishop), codes.holding(O::rook), codes.holding(O::queen)};
}

}  // namespace morvelak
