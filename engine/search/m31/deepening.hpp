// The iterations of one search of m31 on its way to the target depth its
// caller sets (the driver's depth control: driver/m31/computer_move.hpp).
#pragma once

#include "engine/position/types.hpp"
#include "engine/search/m31/state.hpp"

namespace morvelak::m31 {

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

}  // namespace morvelak::m31
