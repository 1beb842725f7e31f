#include "engine/eval/phase.hpp"

#include "engine/position/position.hpp"

namespace morvelak {

PhaseResult decide_phase(Phase& phase, int r, int young, int grown) {
    i8& STANB = phase.STANB;
    i8& STANC = phase.STANC;
    STANB = 1;
    for (int s = 11; s <= 18; ++s)
        if (POS.PL[s] == W_KNIGHT || POS.PL[s] == W_BISHOP) STANB = 0;
    STANC = 1;
    for (int s = 81; s <= 88; ++s)
        if (POS.PL[s] == B_KNIGHT || POS.PL[s] == B_BISHOP) STANC = 0;
    if (r < young) STANB = STANC = 0;
    if (r > grown) STANB = STANC = 1;

    PhaseResult flags{false, false};
    int pieces = 0;
    for (int s = 11; s <= 88; ++s) {
        const i8 c = POS.PL[s];
        if (c == W_KNIGHT || c == W_BISHOP || c == W_ROOK || c == W_QUEEN) pieces += POS.WART[c];
        if (c == B_KNIGHT || c == B_BISHOP || c == B_ROOK || c == B_QUEEN) pieces -= POS.WART[c];
        if (c == W_ROOK || c == W_QUEEN) flags.whiteHeavy = true;
        if (c == B_ROOK || c == B_QUEEN) flags.blackHeavy = true;
    }
    if (pieces < 2200) STANB = STANC = 2;
    return flags;
}

}  // namespace morvelak
