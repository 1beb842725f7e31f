// Material balance of a board from White's side, counted from scratch.  The
// search never calls it at its nodes: the root takes it once and every make
// adds its material change.
#pragma once

#include "engine/position/types.hpp"

namespace morvelak {

// pawn: the pawn's value of the build (90 newest, 100 older); knight 300,
// bishop 310, rook 500, queen 900 in every build.
int OCENAMAT(const i8* pl, int pawn);

}  // namespace morvelak
