// Move ordering: the static capture sort and the killer store.
//
// A node's list holds its captures first, then its quiet moves.  The search
// (search.cpp) puts it in order in this sequence: the expected reply PS first
// one level below the root, an internal shallow search at deep nodes
// (ITERACJASORT), the capture sort below depth 7, and then, move by move,
// the killers of the node's depth ahead of whatever is left.
#pragma once

#include <initializer_list>

#include "engine/position/attacks.hpp"
#include "engine/position/state.hpp"
#include "engine/search/m31/state.hpp"

namespace morvelak::m31 {

// Bubble sort of ru[0..a) by val, the best value first (greatest for White,
// smallest for Black).  Neighbours swap only when the later value is strictly
// better, so equal values keep their order.
template <Side S>
inline void bubble_sort(Move* ru, int* val, int a) {
    bool swapped = true;
    while (swapped) {
        swapped = false;
        for (int b = 0; b + 1 < a; ++b) {
            const bool better = S == Side::White ? val[b + 1] > val[b] : val[b + 1] < val[b];
            if (better) {
                const int v = val[b]; val[b] = val[b + 1]; val[b + 1] = v;
                const Move m = ru[b]; ru[b] = ru[b + 1]; ru[b + 1] = m;
                swapped = true;
            }
        }
    }
}

// Static worth of a capture for side S, counted as a gain for S: the victim,
// less the capturer when the other side defends the square.  Castling can
// reach the capture part of a list only as the expected reply moved to the
// front; it captures nothing and lands on squares the generator has found
// unattacked, so it is worth 0.
template <Side S>
inline int capture_value(Move m) {
    if (m.x2 < 0) return 0;
    const i8 mover = own_list<S>()[2 * m.nr];
    const int defended = attacked_by<Opp<S>>(PL, m.x2);
    if constexpr (S == Side::White) return -WART[PL[m.x2]] - (defended ? WART[mover] : 0);
    else return WART[PL[m.x2]] + WART[mover] * defended;
}

// SORTBIC: sorts the a captures at ru by capture_value, best first, and
// returns how many of them count as good (worth more than -50).
template <Side S>
inline int sortbic(Move* ru, int a) {
    int val[MAX_MOVES];
    for (int i = 0; i < a; ++i) val[i] = capture_value<S>(ru[i]);
    // Both colours sort their gains greatest first.
    bubble_sort<Side::White>(ru, val, a);
    int good = 0;
    for (int i = 0; i < a; ++i)
        if (val[i] > -50) ++good;
    return good;
}

// WSTAWKILLERS: makes (r0, r1) the newest killer of remaining depth ply in a
// list of ilk entries.  A known killer moves to the front; a new one enters
// at the front and the oldest (entry ilk - 1) falls out.
template <Side S>
inline void wstawkillers(int r0, int r1, int ilk, int ply) {
    Move* row = killer_store<S>() + KILLER_ROW * ply;
    const Move m{static_cast<i8>(r0), static_cast<i8>(r1)};
    int d = ilk - 1;
    for (int i = 0; i < ilk - 1; ++i)
        if (row[i] == m) { d = i; break; }
    for (int j = d; j > 0; --j) row[j] = row[j - 1];
    row[0] = m;
}

// Ages the killers for a new iteration.  The killers found at remaining depth
// p belong one level higher once the iteration is one ply deeper; when the
// schedule jumps two plies, two levels higher.
inline void age_killers(int ply, int n) {
    for (Move* store : {KILB, KILC}) {
        if (ply < n) {
            for (int g = ply; g >= 3; --g)
                for (int k = 0; k < KILLER_ROW - 1; ++k)  // the row's last entry stays
                    store[KILLER_ROW * g + k] = store[KILLER_ROW * (g - 1) + k];
        } else {
            for (int g = n; g >= 4; --g)
                for (int k = 0; k < KILLER_ROW; ++k)
                    store[KILLER_ROW * g + k] = store[KILLER_ROW * (g - 2) + k];
        }
    }
}

}  // namespace morvelak::m31
