#include "engine/search/m31/state.hpp"

namespace morvelak::m31 {

i8 PLY = 0;
Move PS{0, 0};
Move PV[MAX_MOVES];
i8 I = 0;
Move KILB[KILLER_ROWS * KILLER_ROW];
Move KILC[KILLER_ROWS * KILLER_ROW];
u32 L1 = 0, L2 = 0;

void reset_search_state() {
    for (Move& m : KILB) m = Move{0, 0};
    for (Move& m : KILC) m = Move{0, 0};
    for (Move& m : PV) m = Move{0, 0};
    PS = Move{0, 0};
    I = 0;
    PLY = 0;
}

}  // namespace morvelak::m31
