#include "engine/search/m26/state.hpp"

namespace morvelak::m26 {

SearchState SEARCH{};

void ReplyTables::clear() {
    for (SquareMove& m : tablica1) m = SquareMove{0, 0};
    for (auto& row : tablica2)
        for (SquareMove& m : row) m = SquareMove{0, 0};
}

void clear_counters() {
    SEARCH.L = 0;
    SEARCH.LA = 0;
    SEARCH.LB = 0;
    for (int i = 0; i < DEPTH_SLOTS; ++i) SEARCH.L1[i] = SEARCH.L2[i] = 0;
}

}  // namespace morvelak::m26
