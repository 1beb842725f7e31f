// The position: the board, the two piece lists and WYJ.  The program plays
// one game on one position, POS; the search changes it only through strictly
// nested make/unmake, and the driver rebuilds the lists and values from the
// board before every move (rebuild.hpp).  A test or the bench starts from a
// fresh one: POS = Position{} (all zero: no border ring yet, empty lists).
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

struct Position {
    i8 PL[100];
    i8 BP[2 * LIST_ENTRIES];
    i8 CP[2 * LIST_ENTRIES];
    i8 ILB, ILC;
    i8 KROLB, KROLC;
    i8 WYJ[4];
    i32 WART[22];

    friend bool operator==(const Position&, const Position&) = default;
};

extern Position POS;

// The square of a king, looked up through its list index.
inline int white_king_square() { return POS.BP[2 * POS.KROLB + 1]; }
inline int black_king_square() { return POS.CP[2 * POS.KROLC + 1]; }

template <Side S> inline i8* own_list() {
    if constexpr (S == Side::White) return POS.BP; else return POS.CP;
}
template <Side S> inline i8& own_count() {
    if constexpr (S == Side::White) return POS.ILB; else return POS.ILC;
}
template <Side S> inline i8& own_king_index() {
    if constexpr (S == Side::White) return POS.KROLB; else return POS.KROLC;
}
template <Side S> inline int king_square() {
    return own_list<S>()[2 * own_king_index<S>() + 1];
}

// The index of the first of a list's first count entries (0..16) standing
// on square sq, or -1.  Entry by entry: make and unmake have usually just
// written single bytes of the list, and a wide load over them would wait
// for those stores to land, costing more than the walk.
inline int list_index_of(const i8* list, int count, int sq) {
    const int n = count >= LIST_ENTRIES ? LIST_ENTRIES : count;
    for (int i = 0; i < n; ++i)
        if (list[2 * i + 1] == sq) return i;
    return -1;
}

// Whether a pawn of side S on s may have a capture: an enemy piece on one of
// its two diagonals ahead, or one of them the en-passant target.  Most pawns
// have neither, and one test dismisses them before the generators look at
// the two squares one by one (with the border's own rules).
template <Side S>
[[gnu::always_inline]] inline bool pawn_may_take(const i8* pl, int s, const i8* wyj) {
    using O = Own<S>;
    const int ep = wyj[O::epSlot];
    return ((pl[s + O::capLeft] | pl[s + O::capRight]) & O::enemy) != 0 ||
           (ep != 0 && (ep == s + O::capLeft || ep == s + O::capRight));
}

// Material scale of a build: the pawn's value (90 in m31, 100 in the older
// builds) and the queen's value in the capture table (each build's
// evaluation names its own SCALE).
struct Scale {
    int pawn;
    int queen;
};

}  // namespace morvelak
