// Search signature and speed of the tree-node build: the same positions as
// the newest build's bench, each searched as the engine's first move of a
// game on a clock of 1200 tenths of a second (depth 7), without the book:
// the root moves pre-sorted by a shallow search, one search with the tree of
// the root, the move made, the tree flattened and freed.  The total of the
// node counter L over the set is the search's signature: it changes only
// when what the search does changes.  Speed is counted nodes per second.
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
#include "bench/search_harness.hpp"

using namespace morvelak;
using bench::BenchPosition;

namespace {

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
    const Side toMove = bench::put_on_board(p);
    old::start_history_from(toMove);
    skroctablice(SCALE_TREE_BUILD);  // the values the phase reads
    m26::wstawstan();
    skroctablice(SCALE_TREE_BUILD);
    clear_killers();
    m26::reset_margins();
    m26::tables<Side::White>().clear();
    m26::tables<Side::Black>().clear();
    ILOSCPOLB = ILOSCPOLC = 0;
    return toMove == Side::White ? search_as_first_move<Side::White>(move)
                                     : search_as_first_move<Side::Black>(move);
}

void prepare() { build_geometry(); }

}  // namespace

int main(int argc, char** argv) {
    return bench::run_search_bench(argc, argv, "BM_SearchFirstMoves26", prepare, search_first_move);
}
