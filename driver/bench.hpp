// The bench every program runs on "morvelakNN bench": a fixed set of
// positions, each searched as the engine's move at a given point of a game,
// the node counts printed position by position, their total as "Bench: N",
// and the speed.  The total is the search's signature: it changes only when
// what the search does changes, so every change of it is deliberate (the
// recorded numbers are in bench/signatures.txt, and a test compares them).
//
// The default set searches its positions as the first move of a game, which
// puts every build's evaluation in its opening phase.  "morvelakNN bench
// middlegame" and "... bench endgame" search positions of those phases as
// moves later in a game, so that the evaluation of every phase has a
// signature and a speed of its own.
#pragma once

#include <cstdio>
#include <iterator>

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

// Middle-game positions (moves 6 to 15), searched at move 21: past the
// point where every build counts both colours in the middle game.
inline constexpr BenchPosition MIDDLEGAME_POSITIONS[] = {
    {"queen's pawn", "r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP1B1PPP/R2QKB1R w KQ - 0 9"},
    {"najdorf", "r2q1rk1/1b2bppp/p2ppn2/1p6/3NP3/1BN1B3/PPP2PPP/R2Q1RK1 w - - 0 12"},
    {"c-file", "2r2rk1/pp1qbppp/2n1pn2/3p4/3P4/2NBPN2/PPQ2PPP/2R2RK1 b - - 0 14"},
    {"hedgehog", "3r1rk1/p1q2ppp/1pn1pn2/2b5/2P5/1PN1PN2/PB2QPPP/3R1RK1 b - - 0 15"},
    {"colle", "r1bqkb1r/pp3ppp/2n1pn2/2pp4/3P4/2PBPN2/PP3PPP/RNBQK2R w KQkq - 0 6"},
};

// Endgames (less than 2200 of pieces on the board, which every build counts
// as the endgame), searched at move 50.
inline constexpr BenchPosition ENDGAME_POSITIONS[] = {
    {"rooks", "8/5pk1/6p1/3R4/1r5P/6P1/5PK1/8 w - - 0 40"},
    {"rook and knight", "2r3k1/5pp1/p3p2p/1p6/3N4/1P4P1/P4P1P/3R2K1 w - - 0 30"},
    {"bishops", "8/pp3k2/2p1b1p1/5p2/2P5/1P2B1P1/P4PK1/8 w - - 0 35"},
    {"knights", "6k1/p4ppp/1p6/2pN4/2P1n3/1P4P1/P4P1P/6K1 b - - 0 32"},
    {"rook and minor", "2r2k2/pp3ppp/2n1p3/3p4/3P4/2PBP3/PP3PPP/2R3K1 w - - 0 25"},
    {"rook and bishop", "r4k2/pp3ppp/2p1b3/4p3/4P3/2P1B3/PP3PPP/R5K1 w - - 0 24"},
    {"queens", "3q2k1/pp3ppp/8/3p4/3P4/8/PP3PPP/3Q2K1 w - - 0 28"},
    {"pawns", "8/3k1p2/p2p2p1/1p1Pp3/1P2P1P1/P2K1P2/8/8 w - - 0 45"},
};

struct BenchSet {
    const char* name;
    const BenchPosition* positions;
    int count;
    int move;  // the full move of the game each position is searched at (1: the first)
};

inline constexpr BenchSet BENCH_SETS[] = {
    {"opening", BENCH_POSITIONS, static_cast<int>(std::size(BENCH_POSITIONS)), 1},
    {"middlegame", MIDDLEGAME_POSITIONS, static_cast<int>(std::size(MIDDLEGAME_POSITIONS)), 21},
    {"endgame", ENDGAME_POSITIONS, static_cast<int>(std::size(ENDGAME_POSITIONS)), 50},
};

// The set of that name, or nullptr.
const BenchSet* find_bench_set(const char* name);

// How a build searches one bench position as its move number `move` of a
// game (1 = the first move), from a state as fresh as the program's at
// start-up: only the phases of the evaluation are decided as at that move;
// the game itself has no moves before it.  Writes the move chosen (4
// characters) and returns the node counter L of the search.  Thinking and
// progress lines go to `sink`, which discards them: they are written all the
// same, as in a game.
using BenchSearch = u32 (*)(const FenPosition& position, int move, char* best, std::FILE* sink);

// The position of a bench entry (a bench position is always valid).
FenPosition bench_position(const BenchPosition& p);

struct BenchResult {
    u32 nodes;       // the signature: the total over the set
    double seconds;  // the time the searches took
};

// Searches every position of the set once (the first set when none is
// named); prints one line per position and the signature, the time and the
// speed to `out` when it is not null.
BenchResult run_bench(BenchSearch search, const BenchSet& set, std::FILE* out);
BenchResult run_bench(BenchSearch search, std::FILE* out);

}  // namespace morvelak
