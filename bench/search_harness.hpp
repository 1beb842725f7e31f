// What every build's search bench shares: the fixed positions, setting one
// up on the board, the signature print-out (the total of the node counter L
// over the set, which changes only when what the search does changes) and
// the timed benchmark in counted nodes per second.  Each bench supplies how
// its build searches a position as the first move of a game.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "engine/position/fen.hpp"
#include "engine/position/state.hpp"

namespace morvelak::bench {

struct BenchPosition {
    const char* name;
    const char* fen;
};

inline constexpr BenchPosition POSITIONS[] = {
    {"start", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1"},
    {"kiwipete", "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1"},
    {"ruy lopez", "r1bq1rk1/2p1bppp/p1np1n2/1p2p3/4P3/1BPP1N2/PP3PPP/RNBQR1K1 w - - 0 9"},
    {"sicilian", "rnbqkb1r/pp2pppp/3p1n2/8/3NP3/2N5/PPP2PPP/R1BQKB1R b KQkq - 2 5"},
    {"queen's gambit", "r1bqk2r/pppnbppp/4pn2/3p2B1/2PP4/2N1PN2/PP3PPP/R2QKB1R b KQkq - 1 6"},
};

// Where thinking or progress lines go while benchmarking.
inline std::FILE* null_sink() {
    static std::FILE* f = std::fopen("/dev/null", "w");
    return f;
}

// Puts the position on the board (PL and WYJ) and returns the side to move.
inline Side put_on_board(const BenchPosition& p) {
    FenPosition pos;
    std::string error;
    if (!parse_fen(p.fen, pos, error)) {
        std::fprintf(stderr, "%s: %s\n", p.name, error.c_str());
        std::abort();
    }
    std::memcpy(PL, pos.pl, 100);
    std::memcpy(WYJ, pos.wyj, 4);
    return pos.toMove;
}

// Searches a position as the first move of a game, writes the move chosen
// and returns the node counter L.
using SearchFirstMove = u32 (*)(const BenchPosition&, char* move);

// Prints each position's share and the signature, then runs the timed
// benchmark.  prepare() runs once before anything else.
inline int run_search_bench(int argc, char** argv, const char* name, void (*prepare)(),
                            SearchFirstMove search) {
    prepare();
    u32 total = 0;
    for (const BenchPosition& p : POSITIONS) {
        char move[5] = {};
        const u32 nodes = search(p, move);
        std::printf("%-16s %-4s %10u\n", p.name, move, nodes);
        total += nodes;
    }
    std::printf("Bench: %u\n", total);
    std::fflush(stdout);

    benchmark::RegisterBenchmark(name, [search](benchmark::State& state) {
        double nodes = 0;
        u32 signature = 0;
        for (auto _ : state) {
            signature = 0;
            for (const BenchPosition& p : POSITIONS) {
                char move[5];
                signature += search(p, move);
            }
            nodes += signature;
        }
        state.counters["signature"] = signature;
        state.counters["nodes/s"] = benchmark::Counter(nodes, benchmark::Counter::kIsRate);
    })->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

}  // namespace morvelak::bench
