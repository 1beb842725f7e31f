// The newest build's computer move: book, iterative deepening with aspiration
// windows, thinking lines, time control between moves.
#pragma once

#include <cstdio>

#include "engine/position/fen.hpp"
#include "engine/position/types.hpp"

namespace morvelak::m31 {

// The bench search of this build (driver/bench.hpp): the position searched
// as the first move of a game, the way the computer move searches it.
u32 bench_first_move(const FenPosition& position, char* move, std::FILE* sink);

// Chooses the engine's move for White / Black, writes its part of the game
// record, makes the move on the board and puts its coordinate text (castling
// as the king's move) into ruchkomputera[0..3].  Returns false, changing
// nothing, when the side has no legal move.
bool ruchkomputerbiale(char* ruchkomputera);
bool ruchkomputerczarne(char* ruchkomputera);

// A game starts ("new", a position set up): the first search of each colour
// takes its depth from the clock again.
void new_game();

}  // namespace morvelak::m31
