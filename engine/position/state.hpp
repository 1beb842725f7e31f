// The one position of the program and the read-only geometry the generators
// walk.  There is a single board, a single pair of piece lists and a single
// WYJ; the search changes them only through strictly nested make/unmake.
//
//   PL        board, 100 bytes, border ring = 64
//   BP / CP   White's / Black's piece list: 16 entries of (code, square);
//             a captured piece leaves (0, 0) in place so indices never move
//   ILB / ILC entries in use;  KROLB / KROLC index of the king's entry
//   WYJ       [0] White's castling rights (1 short, 2 long), [1] Black's,
//             [2] en-passant target for Black (rank 3), [3] for White (rank 6)
//   WART      capture values by piece code, refilled before every move
#pragma once

#include "engine/position/geometry.hpp"
#include "engine/position/types.hpp"

namespace morvelak {

inline constexpr int LIST_ENTRIES = 16;

extern i8 PL[100];
extern i8 BP[2 * LIST_ENTRIES];
extern i8 CP[2 * LIST_ENTRIES];
extern i8 ILB, ILC;
extern i8 KROLB, KROLC;
extern i8 WYJ[4];
extern i32 WART[22];

// Moves examined by the search: its node counter and the bench signature.
// (The older builds' capture estimate counts into it too.)
extern u32 L;

// The square of a king, looked up through its list index.
inline int white_king_square() { return BP[2 * KROLB + 1]; }
inline int black_king_square() { return CP[2 * KROLC + 1]; }

template <Side S> inline i8* own_list() {
    if constexpr (S == Side::White) return BP; else return CP;
}
template <Side S> inline i8& own_count() {
    if constexpr (S == Side::White) return ILB; else return ILC;
}
template <Side S> inline i8& own_king_index() {
    if constexpr (S == Side::White) return KROLB; else return KROLC;
}
template <Side S> inline int king_square() {
    return own_list<S>()[2 * own_king_index<S>() + 1];
}

// Material scale of a build: the pawn's value (90 in the newest build, 100 in
// the older ones) and the queen's value in the capture table.
struct Scale {
    int pawn;
    int queen;
};

}  // namespace morvelak
