// Search signature and speed of the hash-table build: a fixed set of
// positions, each searched as the engine's first move of a game on a clock of
// 12000 centiseconds (depth 9), without the book: the root pre-sort and the
// search to the full depth, as the computer move runs them.  The total of the
// node counter L over the set is the search's signature: it changes only
// when what the search does changes.  Speed is counted nodes per second.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "driver/history.hpp"
#include "driver/m28/computer_move.hpp"
#include "driver/old/history.hpp"
#include "driver/rebuild.hpp"
#include "engine/eval/old/eval.hpp"
#include "engine/eval/phase.hpp"
#include "engine/position/fen.hpp"
#include "engine/position/legal.hpp"
#include "engine/search/m28/root.hpp"
#include "engine/search/m28/search.hpp"

using namespace morvelak;

namespace {

struct BenchPosition {
    const char* name;
    const char* fen;
};

constexpr BenchPosition POSITIONS[] = {
    {"start", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1"},
    {"kiwipete", "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1"},
    {"ruy lopez", "r1bq1rk1/2p1bppp/p1np1n2/1p2p3/4P3/1BPP1N2/PP3PPP/RNBQR1K1 w - - 0 9"},
    {"sicilian", "rnbqkb1r/pp2pppp/3p1n2/8/3NP3/2N5/PPP2PPP/R1BQKB1R b KQkq - 2 5"},
    {"queen's gambit", "r1bqk2r/pppnbppp/4pn2/3p2B1/2PP4/2N1PN2/PP3PPP/R2QKB1R b KQkq - 1 6"},
};

std::FILE* sink() {
    static std::FILE* f = std::fopen("/dev/null", "w");
    return f;
}

// Sets up the position as the driver does before the engine's first move of
// a game (the search's carried state as at program start) and searches it.
// Returns L.
u32 search_first_move(const BenchPosition& p, char* move) {
    FenPosition pos;
    std::string error;
    if (!parse_fen(p.fen, pos, error)) {
        std::fprintf(stderr, "%s: %s\n", p.name, error.c_str());
        std::abort();
    }
    std::memcpy(PL, pos.pl, 100);
    std::memcpy(WYJ, pos.wyj, 4);
    skroctablice(SCALE_HASH_BUILD);
    old::start_history();  // R = 0
    m28::wstawstan();
    skroctablice(SCALE_HASH_BUILD);
    m28::reset_search_state();
    ILOSCPOLB = ILOSCPOLC = 0;

    const int n = m28::start_depth(12000);
    L = 0;
    const bool white = pos.toMove == Side::White;
    Move ru[MAX_MOVES];
    const int a = white ? generate_legal<Side::White>(ru) : generate_legal<Side::Black>(ru);
    if (white) m28::presort_root<Side::White>(ru, a, 0, n);
    else m28::presort_root<Side::Black>(ru, a, 0, n);
    m28::begin_root(n);
    int best = 0;
    const int p28 = white ? m28::search_root<Side::White>(ru, a, n, &best)
                          : m28::search_root<Side::Black>(ru, a, n, &best);
    if (white) move_text<Side::White>(ru[p28], move);
    else move_text<Side::Black>(ru[p28], move);
    return L;
}

void prepare() {
    static bool done = [] {
        build_geometry();
        m28::progress_stream = sink();
        return true;
    }();
    (void)done;
}

// The signature, once, with each position's share and chosen move.
void print_signature() {
    prepare();
    u32 total = 0;
    for (const BenchPosition& p : POSITIONS) {
        char move[5] = {};
        const u32 nodes = search_first_move(p, move);
        std::printf("%-16s %-4s %10u\n", p.name, move, nodes);
        total += nodes;
    }
    std::printf("Bench: %u\n", total);
    std::fflush(stdout);
}

void BM_SearchFirstMoves28(benchmark::State& state) {
    prepare();
    double nodes = 0;
    u32 signature = 0;
    for (auto _ : state) {
        signature = 0;
        for (const BenchPosition& p : POSITIONS) {
            char move[5];
            signature += search_first_move(p, move);
        }
        nodes += signature;
    }
    state.counters["signature"] = signature;
    state.counters["nodes/s"] = benchmark::Counter(nodes, benchmark::Counter::kIsRate);
}

}  // namespace

BENCHMARK(BM_SearchFirstMoves28)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    print_signature();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
