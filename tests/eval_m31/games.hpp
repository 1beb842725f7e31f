// Positions from random games: legal moves drawn at random and made with the
// engine's own generator and make routine, so the piece lists carry the holes
// and the order a search sees.  Long games reach promotions, bare endings and
// every pawn structure in between.
#pragma once

#include <random>

#include "engine/position/rebuild.hpp"
#include "engine/position/legal.hpp"
#include "engine/position/makemove.hpp"

namespace morvelak::test {

// Plays from the current position (White to move) until mate, stalemate or
// maxPlies, and calls visit() at every position reached, the first included.
// Now and then the lists are rebuilt from the board, as the driver does before
// every move, which closes the holes of captured pieces and reorders them.
template <class Visit>
void random_game(std::mt19937& rng, int maxPlies, Visit&& visit) {
    visit();
    for (int ply = 0; ply < maxPlies; ++ply) {
        Move ru[MAX_MOVES];
        const bool white = ply % 2 == 0;
        const int a = white ? generate_legal<Side::White>(ru) : generate_legal<Side::Black>(ru);
        if (a == 0) return;
        const Move m = ru[std::uniform_int_distribution<int>(0, a - 1)(rng)];
        i8 zap[8] = {};
        if (white) zrobruch<Side::White>(zap, m.nr, m.x2);
        else zrobruch<Side::Black>(zap, m.nr, m.x2);
        if (rng() % 16 == 0) rebuild_lists();
        visit();
    }
}

}  // namespace morvelak::test
