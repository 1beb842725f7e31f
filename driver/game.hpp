// Game-level state the protocol loop and the computer-move routines share.
#pragma once

#include <cstdio>

#include "engine/position/types.hpp"

namespace morvelak {

// The engine's remaining time as the interface last sent it ("time"), for
// the engine playing White (TB) and Black (TC).  Centiseconds, except in the
// tree-node build, which stores tenths.
extern u32 TB, TC;

// The game record "zapisparti.txt", open from "new" to the next "new" or
// "quit"; null before the first "new".  Every write is flushed at once so an
// interface that kills the engine loses nothing.
extern std::FILE* zapisparti;

// printf into the record (if open) and flush.
void record(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

}  // namespace morvelak
