// The game, all of it in one struct, GAME: how far it has gone, its history,
// the engine's clock as the interface sent it, the record file, the
// stopwatch of the computer move and the program's random generator.  The
// program plays one game at a time; a test starts from a fresh one
// (GAME = Game{}).
//
//   R           plies played (m31) or full moves played (m28, m26)
//   perPly      m31's history: the board and WYJ after every ply
//   perMove     the older builds' history: two boards per full move
//               (driver/older/history.hpp)
//   TB, TC      the engine's remaining time as "time" last set it, when it
//               plays White (TB) and Black (TC): centiseconds, except in m26,
//               which keeps tenths
//   zapisparti  the game record "zapisparti.txt", open from "new" to the
//               next "new" or "quit"; null before the first "new".  Every
//               write is flushed at once so an interface that kills the
//               engine loses nothing.
//   clock       the stopwatch CZAS of the computer move
//   random      the generator of the key table and of the book's choice
//   bookOn      whether the engine plays from its book at all (an
//               interface's option)
#pragma once

#include <cstdio>

#include "engine/position/types.hpp"
#include "util/clock.hpp"
#include "util/random.hpp"

namespace morvelak {

inline constexpr int HISTORY_PLIES = 512;
inline constexpr int HISTORY_MOVES = 150;

struct PlyHistory {
    i8 PLZAP[HISTORY_PLIES][100];
    i8 WYJZAP[HISTORY_PLIES][4];
};

struct MoveHistory {
    i8 PLZAP[HISTORY_MOVES][2][100];
    i8 WYJZAP[HISTORY_MOVES][2][4];
};

struct Game {
    i32 R = 0;
    PlyHistory perPly = {};
    MoveHistory perMove = {};
    u32 TB = 0, TC = 0;
    std::FILE* zapisparti = nullptr;
    Stopwatch clock;
    Random random;
    bool bookOn = true;
};

extern Game GAME;

// printf into the record (if open) and flush.
void record(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

}  // namespace morvelak
