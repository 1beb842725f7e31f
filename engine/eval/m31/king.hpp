// Shared by the two evaluation routines of this folder.
#pragma once

#include "engine/position/types.hpp"

namespace morvelak::m31 {

// A king's square read through its list index (KROLB / KROLC).  A king entry
// holding no square of the board (impossible while the driver keeps the
// indices valid) reads as square 0 rather than outside the distance table.
inline int king_at(const i8* list, i8 index) {
    const int s = list[2 * (index & 15) + 1];
    return (s >= 0 && s < 100) ? s : 0;
}

}  // namespace morvelak::m31
