// Generator speed: perft leaves per second, every leaf made and tested the
// engine's way (generate, make, king-attack test, unmake).
#include <benchmark/benchmark.h>

#include <cstring>

#include "engine/eval/m31/eval.hpp"
#include "engine/position/rebuild.hpp"
#include "engine/position/fen.hpp"
#include "engine/position/perft.hpp"

using namespace morvelak;

namespace {

Side setup(const char* fen) {
    FenPosition pos;
    std::string error;
    if (!parse_fen(fen, pos, error)) std::abort();
    std::memcpy(POS.PL, pos.pl, 100);
    std::memcpy(POS.WYJ, pos.wyj, 4);
    skroctablice(m31::SCALE);
    return pos.toMove;
}

void run(benchmark::State& state, const char* fen, std::int64_t depth) {
    const Side side = setup(fen);
    std::uint64_t leaves = 0;
    for (auto _ : state) {
        const std::uint64_t n = perft(side, static_cast<int>(depth));
        benchmark::DoNotOptimize(n);
        leaves += n;
    }
    state.counters["leaves/s"] = benchmark::Counter(static_cast<double>(leaves), benchmark::Counter::kIsRate);
    state.counters["leaves"] = static_cast<double>(perft(side, static_cast<int>(depth)));
}

constexpr const char* START = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
// A sharp middlegame with castling, pins and en passant in reach.
constexpr const char* KIWIPETE = "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1";
// A quiet, closed Ruy Lopez middlegame.
constexpr const char* RUY_LOPEZ = "r1bq1rk1/2p1bppp/p1np1n2/1p2p3/4P3/1BPP1N2/PP3PPP/RNBQR1K1 w - - 0 9";

// Each position at two depths: the leaves of an even depth are the second
// player's moves, those of an odd depth the first player's.
void BM_PerftStart(benchmark::State& s) { run(s, START, s.range(0)); }
void BM_PerftKiwipete(benchmark::State& s) { run(s, KIWIPETE, s.range(0)); }
void BM_PerftRuyLopez(benchmark::State& s) { run(s, RUY_LOPEZ, s.range(0)); }

}  // namespace

BENCHMARK(BM_PerftStart)->Arg(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PerftKiwipete)->Arg(4)->Arg(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PerftRuyLopez)->Arg(4)->Arg(5)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
