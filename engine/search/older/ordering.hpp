// Ordering rules of the two older builds.
//
// A node of the older builds orders its list in this sequence: deep nodes
// (remaining depth above 6) by an internal shallow search of the whole list,
// nodes near the leaves by a static look at their captures (the hash-table
// build's capture sort, m26's attack-map sort), and then,
// move by move, the killers of the node's depth.  Unlike m31
// they know no expected reply, and the place where killers begin is a plain
// rule of the depth (killer_prefix).
#pragma once

#include <algorithm>

#include "engine/search/control.hpp"
#include "engine/search/ordering.hpp"

namespace morvelak::older {

// Killers are tried for the move at position b while b >= killer_prefix:
// near the leaves (ply < 7) behind the captures the static sort put first
// (m28 counts only its good captures, m26
// all captures of the list); deeper, behind the first move, which the
// internal sort chose.  The same prefix decides which refutations are kept
// as killers (keeps_killer in engine/search/ordering.hpp).  How many
// killers a row keeps is each build's own (m28/rules.hpp, m26/rules.hpp).
inline constexpr int killer_prefix(int ply, int captures) { return ply < 7 ? captures : 1; }

// Depth of the shallow search that orders the root moves before the search
// to depth n: two plies less, three at 7, four at 8 and 9, five at 10, six
// above 10.
inline constexpr int presort_depth(int n) {
    if (n == 7) return n - 3;
    if (n == 8 || n == 9) return n - 4;
    if (n == 10) return n - 5;
    if (n > 10) return n - 6;
    return n - 2;
}

// The shallowest pre-sort: two plies.
inline constexpr int SHALLOW_SORT = 2;

// The root's pre-sort: the moves not placed yet (from g on) ordered by a
// search of the pre-sort depth for n, with the build's sort(depth, moves,
// count).  Returns that depth, or 0 when nothing was sorted: no moves left,
// a depth under two plies, or a sort the interface stopped, after which the
// order it started from is put back (its values were unfinished).
//
// A sort cut by the clock or by "?" leaves the game without a single
// valued move, and the order it started from is the generator's, captures
// first: its first move gives a piece away as often as not.  The move then
// stands on a two-ply sort instead, run after the stop with the clock
// lifted: a few thousand nodes, well inside the margin the hard limit
// keeps.  Its depth is returned.  The input is still heard, so "?" or a
// take-back during it cuts it too and the starting order stands.  A search
// taken back plays nothing, and analysis starts afresh, so neither needs it.
template <class Sort>
int presort(Move* ru, int a, int g, int n, Sort sort) {
    const int depth = presort_depth(n);
    if (g >= a || depth < 2) return 0;
    Move before[MAX_MOVES];
    std::copy(ru + g, ru + a, before);
    sort(depth, ru + g, a - g);
    if (!CONTROL.stopped) return depth;
    std::copy(before, before + (a - g), ru + g);
    if (depth <= SHALLOW_SORT || CONTROL.withdrawn() || CONTROL.analysis) return 0;

    const StopReason why = CONTROL.reason;
    const bool deadline = CONTROL.hasDeadline;
    CONTROL.stopped = false;
    CONTROL.reason = StopReason::None;
    CONTROL.hasDeadline = false;
    sort(SHALLOW_SORT, ru + g, a - g);
    CONTROL.hasDeadline = deadline;
    if (CONTROL.stopped) {  // cut again: its reason stands
        std::copy(before, before + (a - g), ru + g);
        return 0;
    }
    CONTROL.stop(why);
    return SHALLOW_SORT;
}

}  // namespace morvelak::older
