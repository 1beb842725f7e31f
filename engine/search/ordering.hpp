// Move ordering that every build shares: the static capture sort, the killer
// stores, how a killer is brought forward in a node's list, and the sort of
// a list by a shallow search.
//
// A node's list holds its captures first, then its quiet moves.  The capture
// sort puts the captures that win or trade material ahead; the killers
// (quiet moves that refuted a sibling at the same remaining depth) follow the
// good captures; deep nodes sort their whole list by a shallow search first.
// Which of these a node runs, and where the ordered prefix ends, is the
// build's own rule (m31/search.cpp, old/ordering.hpp).
#pragma once

#include <bit>
#include <cstdint>

#include "engine/position/attacks.hpp"
#include "engine/position/captures.hpp"
#include "engine/position/position.hpp"
#include "engine/position/makemove.hpp"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace morvelak {

// Killer stores: one row per remaining depth 0..19, 20 moves per row, most
// recent first.  Empty in a fresh search state; they carry over from node to
// node and from search to search.  Every build's search state holds a pair.
inline constexpr int KILLER_ROWS = 20;
inline constexpr int KILLER_ROW = 20;

struct Killers {
    Move KILB[KILLER_ROWS * KILLER_ROW] = {};  // White's killers
    Move KILC[KILLER_ROWS * KILLER_ROW] = {};  // Black's killers
};

template <Side S> inline Move* killer_store(Killers& k) {
    if constexpr (S == Side::White) return k.KILB; else return k.KILC;
}

// Number of killers the newest and m28 keep for remaining
// depth ply: three more per ply up to the full row at depth 6; depth 7 keeps
// its full row too (the rule would give 23, more than the row holds); deeper
// rows keep 10.  (m26 keeps other counts: old/ordering.hpp.)
inline constexpr int ilk_of(int ply) {
    return ply <= 6 ? 3 * ply + 2 : ply == 7 ? KILLER_ROW : 10;
}

// Depth of the internal sort search that orders a whole node at remaining
// depth ply (> 6): 7 gives 2, 8 and 9 give 3, 10 gives 4, 11 gives 5, 12 and
// more give 6.
inline constexpr int internal_sort_depth(int ply) {
    if (ply == 7) return 2;
    if (ply <= 9) return 3;
    if (ply == 10) return 4;
    if (ply == 11) return 5;
    return 6;
}

// Sorts ru[0..a) by val, the best value first (greatest for White, smallest
// for Black); equal values keep their order.  That is the order a bubble
// sort swapping neighbours only when the later value is strictly better
// ends in, reached here by insertion: each move slides back past the moves
// it strictly beats, and no further.
template <Side S>
inline void sort_best_first(Move* ru, int* val, int a) {
    auto better = [](int x, int y) { return S == Side::White ? x > y : x < y; };
    for (int b = 1; b < a; ++b) {
        const int v = val[b];
        if (!better(v, val[b - 1])) continue;
        const Move m = ru[b];
        int j = b;
        do {
            val[j] = val[j - 1];
            ru[j] = ru[j - 1];
            --j;
        } while (j > 0 && better(v, val[j - 1]));
        val[j] = v;
        ru[j] = m;
    }
}

// Static worth of a capture for side S, counted as a gain for S: the victim,
// less the capturer when the other side defends the square.  Castling can
// reach the capture part of a list only as the expected reply moved to the
// front; it captures nothing and lands on squares the generator has found
// unattacked, so it is worth 0.
template <Side S>
inline int capture_value(Move m, u64 occ, u64 defenders) {
    if (m.x2 < 0) return 0;
    const i8 mover = own_list<S>()[2 * m.nr];
    const int defended = detail::attacked_on<Opp<S>>(POS.PL, m.x2, occ, defenders);
    if constexpr (S == Side::White) return -POS.WART[POS.PL[m.x2]] - (defended ? POS.WART[mover] : 0);
    else return POS.WART[POS.PL[m.x2]] + POS.WART[mover] * defended;
}

// SORTBIC: sorts the a captures at ru by capture_value, best first, and
// returns how many of them count as good (worth more than -50).
template <Side S>
inline int sortbic(Move* ru, int a) {
    int val[MAX_MOVES];
    // Whether the other side defends each target, from the occupancy read
    // once for all of them: the rays are scanned, not walked.
    const Occupancy o = occupancy_of(POS.PL);
    for (int i = 0; i < a; ++i) val[i] = capture_value<S>(ru[i], o.white | o.black, own_occupancy<Opp<S>>(o));
    // Both colours sort their gains greatest first.
    sort_best_first<Side::White>(ru, val, a);
    int good = 0;
    for (int i = 0; i < a; ++i)
        if (val[i] > -50) ++good;
    return good;
}

// WSTAWKILLERS: makes (r0, r1) the newest killer of remaining depth ply in a
// list of ilk entries.  A known killer moves to the front; a new one enters
// at the front and the oldest (entry ilk - 1) falls out.
template <Side S>
inline void wstawkillers(Killers& k, int r0, int r1, int ilk, int ply) {
    Move* row = killer_store<S>(k) + KILLER_ROW * ply;
    const Move m{static_cast<i8>(r0), static_cast<i8>(r1)};
    int d = ilk - 1;
    for (int i = 0; i < ilk - 1; ++i)
        if (row[i] == m) { d = i; break; }
    for (int j = d; j > 0; --j) row[j] = row[j - 1];
    row[0] = m;
}

// The first j in [b, a) where ru[j] is the move km (as a 16-bit word), or a.
// Eight moves are compared at a time; the last eight of a list of eight or
// more end at ru[a] and may go over moves already compared, which did not
// match.  Nothing at or past ru[a] is read.
inline int find_move(const Move* ru, int b, int a, std::uint16_t km) {
    int j = b;
#if defined(__SSE2__)
    if (a - b >= 8) {
        const __m128i key = _mm_set1_epi16(static_cast<short>(km));
        auto hits = [&](int at) {
            const __m128i eight = _mm_loadu_si128(reinterpret_cast<const __m128i*>(ru + at));
            return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi16(eight, key)));
        };
        for (; j + 8 <= a; j += 8)
            if (const unsigned hit = hits(j)) return j + std::countr_zero(hit) / 2;
        if (j == a) return a;
        const unsigned hit = hits(a - 8);
        return hit != 0 ? a - 8 + std::countr_zero(hit) / 2 : a;
    }
#endif
    while (j < a && std::bit_cast<std::uint16_t>(ru[j]) != km) ++j;
    return j;
}

// Before the move at position b of a node's list ru[0..a): the next killer of
// the node's row kil[0..ilk) that is a move here is swapped to b.  k counts
// the killers tried; a killer that is not in ru[b..a) is skipped for good,
// and one already standing at b costs a try but no swap.  Moves are compared
// as one 16-bit word each.
[[gnu::always_inline]] inline void place_next_killer(Move* ru, int b, int a, const Move* kil, int& k,
                                                     int ilk) {
    while (k < ilk) {
        const auto km = std::bit_cast<std::uint16_t>(kil[k++]);
        const int j = find_move(ru, b, a, km);
        if (j < a) {
            const Move t = ru[j]; ru[j] = ru[b]; ru[b] = t;
            return;
        }
    }
}

// What a node does before the move at b, behind its ordered prefix: the next
// killer that is a move here; then, once the killers are used up one level
// below the root (ply = PLY) of a deep search (ply > 7), the rest of the list
// sorted once by late(depth, list, count), a search five plies shallower.
template <class LateSort>
inline void killers_then_late_sort(Move* ru, int b, int a, const Move* kil, int& k, int ilk, int ply,
                                   int rootPly, LateSort&& late) {
    place_next_killer(ru, b, a, kil, k, ilk);
    if (k == ilk && ply == rootPly && ply > 7) {
        late(ply - 5, ru + b, a - b);
        ++k;
    }
}

// A refutation is kept as a killer unless it stood in the ordered prefix
// (the first g moves) of a node of depth 6 or less: there it was found by
// the capture sort and will be found again.
inline constexpr bool keeps_killer(int b, int g, int ply) { return !(b < g && ply <= 6); }

// ITERACJASORT, the body every build shares: orders the a moves of side S at
// ru by a search of each, best first, and returns the best value.  For each
// move in list order the move is made and search(m, lo, hi) is asked for the
// value of the resulting position with the other side to move, m being the
// move's own material change (not the node's balance); the window is:
//   rodzaj = 1: open beyond the best value so far (for White [best, 32000],
//               for Black [-32000, best]): every move after the best so far
//               only has to prove itself worse, so its value is a bound;
//   rodzaj = 0: [-32000, 32000], every value exact.
// The best value starts at -start for White and +start for Black.  The sort
// flag I of the build is 1 while the searches run: they write no path.  It
// is cleared, not restored, at the end: a sort nested in another ends the
// outer one's quiet spell too.
template <Side S, class Search>
inline int sort_by_search(Move* ru, int a, int rodzaj, int start, i8& I, Search&& search) {
    constexpr int sg = Own<S>::sign;
    I = 1;
    int bound = -sg * start;  // alfa for White, beta for Black
    int val[MAX_MOVES];
    i8 zap[8] = {};
    for (int b = 0; b < a; ++b) {
        const Move mv = ru[b];
        const int m = zrobruch<S>(zap, mv.nr, mv.x2);
        int v;
        if (rodzaj == 1) v = sg > 0 ? search(m, bound, 32000) : search(m, -32000, bound);
        else v = search(m, -32000, 32000);
        skasujruch<S>(zap, mv.nr, mv.x2);
        val[b] = v;
        if (sg > 0 ? v >= bound : v <= bound) bound = v;
    }
    sort_best_first<S>(ru, val, a);
    I = 0;
    return a > 0 ? val[0] : bound;
}

}  // namespace morvelak
