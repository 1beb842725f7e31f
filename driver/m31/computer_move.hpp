// m31's computer move: book, iterative deepening with aspiration
// windows, thinking lines, time control between moves.
#pragma once

#include <cstdio>

#include "driver/depth_control.hpp"
#include "engine/position/fen.hpp"
#include "engine/position/types.hpp"
#include "engine/search/m31/state.hpp"

namespace morvelak::m31 {

// Depth control between moves: the depth a game starts with follows the
// clock, the depth of the next search the time this one took.  Time is only
// measured between moves; only the hard limit of a move (or "?") cuts a
// search short of its target.
//
// Target depth at the start of a game from the engine's remaining time T in
// centiseconds: 7 plies, 8 above 2 minutes, 9 above 10, 10 above 30.
inline constexpr int start_depth(u32 T) {
    constexpr u32 above[] = {12000, 60000, 180000};
    return depth_by_clock(T, 7, above);
}

// Target depth of the next search after a search to n that took t
// centiseconds, with T centiseconds left before it and R plies played.  The
// budget of a move is a sixtieth of the time left (an eightieth after 50
// plies): within the budget the next search goes one ply deeper, beyond six
// budgets one ply shallower.  Never below 5, and never beyond the deepest
// iteration the search tables hold.
inline constexpr DepthRule DEPTH_RULE{60, 80, 50, 5, MAX_DEPTH};
inline constexpr int adapt_depth(int n, int t, u32 T, int R) {
    return morvelak::adapt_depth(n, t, static_cast<i32>(T), R, DEPTH_RULE);
}

// The bench search of this build (driver/bench.hpp): the position searched
// as move `move` of a game (1 = the first), the way the computer move
// searches it.
u32 bench_search(const FenPosition& position, int move, char* best, std::FILE* sink);

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
