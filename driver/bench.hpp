// The bench every program runs on "morvelakNN bench": a fixed set of
// positions, each searched as the engine's first move of a game, the node
// counts printed position by position, their total as "Bench: N", and the
// speed.  The total is the search's signature: it changes only when what the
// search does changes, so every change of it is deliberate (the recorded
// numbers are in bench/signatures.txt, and a test compares them).
#pragma once

#include <cstdio>

#include "engine/position/fen.hpp"
#include "engine/position/types.hpp"

namespace morvelak {

struct BenchPosition {
    const char* name;
    const char* fen;
};

inline constexpr BenchPosition BENCH_POSITIONS[] = {
    {"start", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1"},
    {"kiwipete", "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1"},
    {"ruy lopez", "r1bq1rk1/2p1bppp/p1np1n2/1p2p3/4P3/1BPP1N2/PP3PPP/RNBQR1K1 w - - 0 9"},
    {"sicilian", "rnbqkb1r/pp2pppp/3p1n2/8/3NP3/2N5/PPP2PPP/R1BQKB1R b KQkq - 2 5"},
    {"queen's gambit", "r1bqk2r/pppnbppp/4pn2/3p2B1/2PP4/2N1PN2/PP3PPP/R2QKB1R b KQkq - 1 6"},
};

// How a build searches one bench position as its first move of a game, from
// a state as fresh as the program's at start-up: writes the move chosen
// (4 characters) and returns the node counter L of the search.  Thinking and
// progress lines go to `sink`, which discards them: they are written all the
// same, as in a game.
using BenchSearch = u32 (*)(const FenPosition& position, char* move, std::FILE* sink);

// The position of a bench entry (a bench position is always valid).
FenPosition bench_position(const BenchPosition& p);

struct BenchResult {
    u32 nodes;       // the signature: the total over the set
    double seconds;  // the time the searches took
};

// Searches every bench position once; prints one line per position and the
// signature, the time and the speed to `out` when it is not null.
BenchResult run_bench(BenchSearch search, std::FILE* out);

}  // namespace morvelak
