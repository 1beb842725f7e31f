// Counting legal move sequences the engine's way: generate with the full
// generator, make each move, drop it if the mover's king is then attacked
// (the node's KingSafety, legal.hpp, answers as the full attack test),
// recurse, unmake.  The generator's order and the make/unmake pair are the
// search's own, so perft checks exactly what the search will walk.
#pragma once

#include <cstdint>
#include <cstring>

#include "engine/position/legal.hpp"
#include "engine/position/movegen.hpp"
#include "engine/position/makemove.hpp"

namespace morvelak {

template <Side S>
inline std::uint64_t perft(int depth) {
    Move list[MAX_MOVES];
    int aa;
    const int a = generate_all<S>(list, &aa);
    if (a < 0) return 0;  // cannot happen after a legal move
    std::uint64_t total = 0;
    i8 zap[8] = {};
    const KingSafety<S> safety;
    if (depth == 1) {
        for (int b = 0; b < a; ++b) {
            zrobruch<S>(zap, list[b].nr, list[b].x2);
            total += !safety.attacked(list[b], zap);
            skasujruch<S>(zap, list[b].nr, list[b].x2);
        }
        return total;
    }
    for (int b = 0; b < a; ++b) {
        zrobruch<S>(zap, list[b].nr, list[b].x2);
        if (!safety.attacked(list[b], zap)) total += perft<Opp<S>>(depth - 1);
        skasujruch<S>(zap, list[b].nr, list[b].x2);
    }
    return total;
}

inline std::uint64_t perft(Side s, int depth) {
    if (depth <= 0) return 1;
    return s == Side::White ? perft<Side::White>(depth) : perft<Side::Black>(depth);
}

}  // namespace morvelak
