// The engine under the UCI protocol, which most of today's interfaces,
// match runners and analysis tools speak.
//
// A session that begins with "uci" speaks UCI to its end.  The interface
// owns the game: it sends the whole position before every search ("position
// startpos moves e2e4 e7e5 ..."), the clocks with "go", and takes the answer
// as "bestmove".  Underneath it is the same engine: the same depth control
// from the clock, the same hard limit per move, the same analysis, the game
// record and the command log written as in xboard play.
#pragma once

#include <cstdio>

#include "driver/input.hpp"
#include "driver/protocol.hpp"

namespace morvelak {

// Longest UCI line kept: a position with every move of a long game.
inline constexpr int UCI_LINE_SIZE = 16384;
// Moves of the current position remembered to recognise the next "position"
// as the same game, a few moves on.
inline constexpr int UCI_MOVES = 2048;

// Runs the session after its "uci" line (already logged) until "quit" or the
// end of input.
// `hardLimit`: the hard time limit starts on (the option switches it).
void uci_session(const BuildPolicy& policy, Input& input, std::FILE* out, std::FILE* log, bool hardLimit);

// The score of a thinking line as UCI writes it, from the side to move:
// "cp 35", or "mate 3" / "mate -2" when the score (10000 and more for a king
// taken, plus the depth still left there) says mate, given the depth of the
// search that found it.
void uci_score(int depth, int shown, char* text, int size);

}  // namespace morvelak
