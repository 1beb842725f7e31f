// Depth control of the newest build's computer move: the depth a game
// starts with, the iterations of one search, and the depth of the next
// search after the time this one took.  Time is only measured between
// moves; a search always completes the depth it set out for.
#pragma once

#include "driver/depth_control.hpp"
#include "engine/position/types.hpp"
#include "engine/search/m31/state.hpp"

namespace morvelak::m31 {

// Target depth at the start of a game from the engine's remaining time T in
// centiseconds: 7 plies, 8 above 2 minutes, 9 above 10, 10 above 30.
inline constexpr int start_depth(u32 T) {
    constexpr u32 above[] = {12000, 60000, 180000};
    return depth_by_clock(T, 7, above);
}

// The iteration that follows depth ply on the way to n: depth n - 1 is
// skipped, so the iterations are 2, 3, ..., n - 2, n.
inline constexpr int iteration_depth(int ply, int n) { return ply == n - 1 ? n : ply; }

// Iterations at least six plies short of the target are shallow: every root
// move gets an exact enough score to order the next iteration by.  Deeper
// ones order by the rank of improvement only.
inline constexpr bool shallow_iteration(int ply, int n) { return ply <= n - 6; }

// Writes the depths a search to n iterates through into out (room for n
// entries) and returns their number.
inline int iteration_depths(int n, int* out) {
    int count = 0;
    for (int ply = 2; ply <= n; ++ply) {
        ply = iteration_depth(ply, n);
        out[count++] = ply;
    }
    return count;
}

// Target depth of the next search after a search to n that took t
// centiseconds, with T centiseconds left before it and R plies played.  The
// budget of a move is a sixtieth of the time left (an eightieth after 50
// plies): within the budget the next search goes one ply deeper, beyond six
// budgets one ply shallower.  Never below 5, and never beyond the deepest
// iteration the search tables hold.
inline constexpr DepthRule DEPTH_RULE{60, 80, 50, 5, MAX_DEPTH};
inline constexpr int adapt_depth(int n, int t, u32 T, int R) {
    return morvelak::adapt_depth(n, t, static_cast<i32>(T), R, DEPTH_RULE);
}

}  // namespace morvelak::m31
