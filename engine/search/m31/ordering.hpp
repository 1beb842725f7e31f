// Move ordering of m31.
//
// A node's list holds its captures first, then its quiet moves.  The search
// (search.cpp) puts it in order in this sequence: the expected reply PS first
// one level below the root, an internal shallow search at deep nodes
// (ITERACJASORT), the capture sort below depth 7, and then, move by move,
// the killers of the node's depth ahead of whatever is left.  The capture
// sort, the killer stores and the sort by search are shared by every build
// (engine/search/ordering.hpp); what is m31's own is the ageing
// of the killers between the iterations of its iterative deepening.
#pragma once

#include <initializer_list>

#include "engine/search/ordering.hpp"
#include "engine/search/m31/state.hpp"

namespace morvelak::m31 {

// Ages the killers for a new iteration.  The killers found at remaining depth
// p belong one level higher once the iteration is one ply deeper; when the
// schedule jumps two plies, two levels higher.
inline void age_killers(int ply, int n) {
    for (Move* store : {SEARCH.KILB, SEARCH.KILC}) {
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
