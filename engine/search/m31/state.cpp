#include "engine/search/m31/state.hpp"

namespace morvelak::m31 {

i8 PLY = 0;
Move PS{0, 0};
Move PV[MAX_MOVES];
i8 I = 0;
u32 L1 = 0, L2 = 0;

void reset_search_state() {
    clear_killers();
    for (Move& m : PV) m = Move{0, 0};
    PS = Move{0, 0};
    I = 0;
    PLY = 0;
}

}  // namespace morvelak::m31
