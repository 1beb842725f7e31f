// m28's computer move: book, ordering from the position
// table and a shallow search, one search to the target depth with progress
// lines, time control between moves.
#pragma once

#include <cstdio>

#include "engine/position/fen.hpp"
#include "engine/position/types.hpp"

#include "driver/depth_control.hpp"
#include "engine/position/types.hpp"
#include "engine/search/m28/state.hpp"

namespace morvelak::m28 {

// The bench search of this build (driver/bench.hpp): the position searched
// as move `move` of a game (1 = the first), the way the computer move
// searches it.
u32 bench_search(const FenPosition& position, int move, char* best, std::FILE* sink);

// Target depth at the start of a game, from the engine's clock in
// centiseconds (compared as a signed number): 9 plies, 10 above 2 minutes,
// 11 above 10 minutes.
inline constexpr int start_depth(i32 clock) {
    constexpr i32 above[] = {12000, 60000};
    return depth_by_clock(clock, 9, above);
}

// Depth of the next search: the budget of a move is an eightieth of the time
// left, a sixtieth once more than 35 full moves have been played; never
// below 6, never beyond what the search tables hold.
inline constexpr DepthRule DEPTH_RULE{80, 60, 35, 6, older::MAX_DEPTH};
inline constexpr int adapt_depth(int n, int t, i32 clock, int fullMoves) {
    return morvelak::adapt_depth(n, t, clock, fullMoves, DEPTH_RULE);
}

// Chooses the engine's move for White / Black, writes its part of the game
// record, makes the move on the board and puts its coordinate text (castling
// as the king's move) into ruchkomputera[0..3].  Returns false, changing
// nothing, when the side has no legal move or when the interface withdrew
// the search (CONTROL) before it ended.
bool ruchkomputerbiale(char* ruchkomputera);
bool ruchkomputerczarne(char* ruchkomputera);

// A game starts ("new", a position set up): the first search of each colour
// takes its depth from the clock again.
void new_game();

// What the last computer move did (the search state's report), for the
// tests.
const RootReport& last_root();

}  // namespace morvelak::m28
