// Generator speed: perft leaves per second, every leaf made and tested the
// engine's way (generate, make, king-attack test, unmake).
#include <benchmark/benchmark.h>

#include <cstring>

#include "driver/rebuild.hpp"
#include "engine/position/fen.hpp"
#include "engine/position/perft.hpp"

using namespace morvelak;

namespace {

Side setup(const char* fen) {
    build_geometry();
    FenPosition pos;
    std::string error;
    if (!parse_fen(fen, pos, error)) std::abort();
    std::memcpy(PL, pos.pl, 100);
    std::memcpy(WYJ, pos.wyj, 4);
    skroctablice(SCALE_NEWEST);
    return pos.toMove;
}

void run(benchmark::State& state, const char* fen, int depth) {
    const Side side = setup(fen);
    std::uint64_t leaves = 0;
    for (auto _ : state) {
        const std::uint64_t n = perft(side, depth);
        benchmark::DoNotOptimize(n);
        leaves += n;
    }
    state.counters["leaves/s"] = benchmark::Counter(static_cast<double>(leaves), benchmark::Counter::kIsRate);
    state.counters["leaves"] = static_cast<double>(perft(side, depth));
}

void BM_PerftStart(benchmark::State& s) {
    run(s, "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", 5);
}
// A sharp middlegame with castling, pins and en passant in reach.
void BM_PerftKiwipete(benchmark::State& s) {
    run(s, "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1", 4);
}
// A quiet, closed Ruy Lopez middlegame.
void BM_PerftRuyLopez(benchmark::State& s) {
    run(s, "r1bq1rk1/2p1bppp/p1np1n2/1p2p3/4P3/1BPP1N2/PP3PPP/RNBQR1K1 w - - 0 9", 4);
}

}  // namespace

BENCHMARK(BM_PerftStart)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PerftKiwipete)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PerftRuyLopez)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
