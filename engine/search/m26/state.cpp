#include "engine/search/m26/state.hpp"

#include "engine/position/position.hpp"

namespace morvelak::m26 {

i8 PLY = 0;
u32 LA = 0, LB = 0;
u32 L1[DEPTH_SLOTS], L2[DEPTH_SLOTS];

void clear_counters() {
    L = 0;
    LA = 0;
    LB = 0;
    for (int i = 0; i < DEPTH_SLOTS; ++i) L1[i] = L2[i] = 0;
}

}  // namespace morvelak::m26
