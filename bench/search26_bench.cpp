// Search signature and speed of the tree-node build: the same positions as
// the newest build's bench, each searched as the engine's first move of a
// game on a clock of 1200 tenths of a second (depth 7), without the book:
// the root moves pre-sorted by a shallow search, one search with the tree of
// the root, the move made, the tree flattened and freed.  The total of the
// node counter L over the set is the search's signature: it changes only
// when what the search does changes.  Speed is counted nodes per second.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "driver/m26/computer_move.hpp"
#include "driver/old/history.hpp"
#include "driver/rebuild.hpp"
#include "engine/eval/old/eval.hpp"
#include "engine/eval/phase.hpp"
#include "engine/position/fen.hpp"
#include "engine/search/m26/root.hpp"
#include "engine/search/m26/search.hpp"
#include "engine/search/m26/state.hpp"
#include "engine/search/old/ordering.hpp"

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

constexpr u32 CLOCK = 1200;  // tenths of a second: depth 7

template <Side S>
u32 search_as_first_move(char* move) {
    Move ru[MAX_MOVES];
    const int a = m26::generate_root_moves<S>(ru);
    const int n = m26::start_depth(CLOCK);
    m26::korzen<S>().inic();
    m26::clear_counters();
    if constexpr (S == Side::White) m26::ITERACJASORTB(old::presort_depth(n), ru, a, 0);
    else m26::ITERACJASORTC(old::presort_depth(n), ru, a, 0);
    const m26::RootResult r = m26::search_root<S>(ru, a, n);
    const u32 nodes = L;
    move_text<S>(ru[r.p], move);
    i8 zap[8] = {};
    zrobruch<S>(zap, ru[r.p].nr, ru[r.p].x2);
    m26::keep_replies<S>(ru[r.p]);
    skasujruch<S>(zap, ru[r.p].nr, ru[r.p].x2);
    return nodes;
}

// Sets up the position as the driver does before the engine's first move of
// a game (fresh killers, margins and tables) and searches it.  Returns L.
u32 search_first_move(const BenchPosition& p, char* move) {
    FenPosition pos;
    std::string error;
    if (!parse_fen(p.fen, pos, error)) {
        std::fprintf(stderr, "%s: %s\n", p.name, error.c_str());
        std::abort();
    }
    std::memcpy(PL, pos.pl, 100);
    std::memcpy(WYJ, pos.wyj, 4);
    old::start_history_from(pos.toMove);
    skroctablice(SCALE_TREE_BUILD);  // the values the phase reads
    m26::wstawstan();
    skroctablice(SCALE_TREE_BUILD);
    clear_killers();
    m26::reset_margins();
    m26::tables<Side::White>().clear();
    m26::tables<Side::Black>().clear();
    ILOSCPOLB = ILOSCPOLC = 0;
    return pos.toMove == Side::White ? search_as_first_move<Side::White>(move)
                                     : search_as_first_move<Side::Black>(move);
}

void prepare() {
    static bool done = [] {
        build_geometry();
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

void BM_SearchFirstMoves26(benchmark::State& state) {
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

BENCHMARK(BM_SearchFirstMoves26)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    print_signature();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
