#include "engine/position/material.hpp"

namespace morvelak {

int OCENAMAT(const i8* pl, int pawn) {
    int sum = 0;
    for (int s = 11; s <= 88; ++s) {
        switch (pl[s]) {
        case W_PAWN: sum += pawn; break;
        case W_KNIGHT: sum += 300; break;
        case W_BISHOP: sum += 310; break;
        case W_ROOK: sum += 500; break;
        case W_QUEEN: sum += 900; break;
        case B_PAWN: sum -= pawn; break;
        case B_KNIGHT: sum -= 300; break;
        case B_BISHOP: sum -= 310; break;
        case B_ROOK: sum -= 500; break;
        case B_QUEEN: sum -= 900; break;
        default: break;
        }
    }
    return sum;
}

}  // namespace morvelak
