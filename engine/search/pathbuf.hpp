// Path buffers: how a search node hands its best line up to its caller.
//
// A path is a run of byte pairs.  What a pair holds depends on the build (the
// newest writes (origin, destination), the older ones the move-list entry
// (piece index, destination)), but the markers that end a line are the same
// in every build, written as both bytes of a pair:
//   (0, 0)   end of the line
//   (-1, -1) standing pat beat every capture      "zlebicia"
//   (-2, -2) nothing to capture                   "bezbic"
//   (-4, -4) a king hangs (or, in m31, the position repeats)  "#"
//   (-5, -5) stalemate                            "pat"
#pragma once

#include "engine/position/types.hpp"

namespace morvelak {

inline constexpr i8 END_OF_LINE = 0;
inline constexpr i8 NO_GOOD_CAPTURE = -1;  // "zlebicia": standing pat beat every capture
inline constexpr i8 NO_CAPTURE = -2;       // "bezbic": nothing to capture
inline constexpr i8 KING_TAKEN = -4;       // "#": a king hangs, or the position repeats
inline constexpr i8 STALEMATE = -5;        // "pat"

// Writes the pair (a, b) at p.
inline void put_pair(i8* p, int a, int b) {
    p[0] = static_cast<i8>(a);
    p[1] = static_cast<i8>(b);
}
// Writes n copies of the marker pair (m, m) from p on.
inline void fill_pairs(i8* p, int n, i8 m) {
    for (int i = 0; i < 2 * n; ++i) p[i] = m;
}

}  // namespace morvelak
