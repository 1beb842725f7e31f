// Reading a position in Forsyth-Edwards notation (used by the perft tool and
// by interfaces that set up a position).  Castling letters become the rights
// bits of WYJ (K/k = 1, Q/q = 2) and the en-passant square goes to WYJ[2]
// (a rank-3 square) or WYJ[3] (a rank-6 square).
#pragma once

#include <string>

#include "engine/position/types.hpp"

namespace morvelak {

struct FenPosition {
    i8 pl[100];
    i8 wyj[4];
    Side toMove;
};

// Parses `fen` into `out`.  Returns false with a one-line reason in `error`
// for anything that is not a position this engine can play: malformed
// fields, not exactly one king a side, more than 16 pieces a side, pawns on
// the first or last rank, an en-passant square that does not fit the side to
// move, or the side not to move standing in check.
bool parse_fen(const std::string& fen, FenPosition& out, std::string& error);

}  // namespace morvelak
