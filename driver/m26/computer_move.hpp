// m26's computer move: the opening book, one search per move
// at a depth set by the clock, root moves ordered by what the previous search
// expected, time limits fixed before the search, no thinking output.
#pragma once

#include <cstdio>

#include "engine/position/fen.hpp"
#include "engine/position/types.hpp"

#include "driver/depth_control.hpp"
#include "engine/position/types.hpp"

namespace morvelak::m26 {

// The bench search of this build (driver/bench.hpp): the position searched
// as move `move` of a game (1 = the first), the way the computer move
// searches it.
u32 bench_search(const FenPosition& position, int move, char* best, std::FILE* sink);

// Target depth at the start of a game from the engine's clock T in tenths of
// a second: 7 plies, 8 above 2 minutes, 9 above 10.
inline constexpr int start_depth(u32 T) { return depth_by_clock(T, 7, {1200u, 6000u}); }

// The two limits the time of a search is judged by, fixed before it from the
// clock T (tenths) alone: a tenth of the clock (an eighth after 30 full
// moves), plus one, and seven times that.  They are compared with the time
// the search took in centiseconds, so the budget is really a hundredth (an
// eightieth) of the time left.
struct TimeLimits {
    int t1;
    int t2;
};
inline constexpr TimeLimits time_limits(u32 T, int R) {
    const int clock = static_cast<int>(T > 0x7FFFFFFFu ? 0x7FFFFFFFu : T);
    const int t1 = (R > 30 ? clock / 8 : clock / 10) + 1;
    return TimeLimits{t1, 7 * t1};
}

// Target depth of the next search after a search to n that took t
// centiseconds: one ply shallower beyond t2, one deeper within t1.  Never
// below 5, and never beyond the deepest search the tables hold.
int adapt_depth(int n, int t, TimeLimits limits);

// Chooses the engine's move for White / Black, writes its part of the game
// record, makes the move on the board and puts its coordinate text (castling
// as the king's move) into ruchkomputera[0..3].  Returns false, changing
// nothing, when the side has no legal move or when the interface withdrew
// the search (CONTROL) before it ended.
bool ruchkomputerbiale(char* ruchkomputera);
bool ruchkomputerczarne(char* ruchkomputera);

// The target depth the next search of the engine playing S will use.
int target_depth_of(Side s);

// A game starts ("new", a position set up): the first search of each colour
// takes its depth from the clock again.
void new_game();

}  // namespace morvelak::m26
