// Start-up shared by the three builds: the tables the generators, the
// evaluation and the keys read, the first position, the interrupt signal,
// the protocol log; then the command loop.
#pragma once

#include <cstdio>

#include "driver/protocol.hpp"

namespace morvelak {

// Loads "plansza1.txt" from the working directory into PL and WYJ.  When
// the file is missing, cannot be read, or holds no position a game can
// start from (not one king of each colour, Black's king attacked with White
// to move), the standard start position is set instead and standard error
// says why, so the engine still plays.  Returns false in that case.
bool load_start_position();

// The standard start position in the board-file format.
extern const char* const STANDARD_BOARD;

// Everything before the first command: random seed and KEY table (builds
// with keys), a clean board and WART, the start position with its lists and
// evaluation set-up, history entry 0, SIGINT ignored and the log opened
// (truncated).  Returns the log, or null when it cannot be opened (the
// engine then runs without one).  The feature lines wait for the first
// command, which tells whether the interface speaks xboard or UCI.
std::FILE* start_up(const BuildPolicy& policy);

// The whole program: start-up, then the command loop on standard input and
// output.  Returns the program's exit status.  Two arguments are
// understood: "bench" runs the build's bench (driver/bench.hpp) and nothing
// else; "--historical-clock" starts with the hard time limit off, for
// interfaces of the engine's own command set, which have no way to set
// options: every search then completes the depth the depth control planned.
int run_engine(const BuildPolicy& policy, int argc = 0, char** argv = nullptr);

}  // namespace morvelak
