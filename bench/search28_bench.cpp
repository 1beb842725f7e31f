// Search signature and speed of the hash-table build: a fixed set of
// positions, each searched as the engine's first move of a game on a clock of
// 12000 centiseconds (depth 9), without the book: the root pre-sort and the
// search to the full depth, as the computer move runs them.  The total of the
// node counter L over the set is the search's signature: it changes only
// when what the search does changes.  Speed is counted nodes per second.
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
#include "bench/search_harness.hpp"

using namespace morvelak;
using bench::BenchPosition;

namespace {

// Sets up the position as the driver does before the engine's first move of
// a game (the search's carried state as at program start) and searches it.
// Returns L.
u32 search_first_move(const BenchPosition& p, char* move) {
    const Side toMove = bench::put_on_board(p);
    skroctablice(SCALE_HASH_BUILD);
    old::start_history();  // R = 0
    m28::wstawstan();
    skroctablice(SCALE_HASH_BUILD);
    m28::reset_search_state();
    ILOSCPOLB = ILOSCPOLC = 0;

    const int n = m28::start_depth(12000);
    L = 0;
    const bool white = toMove == Side::White;
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
    build_geometry();
    m28::progress_stream = bench::null_sink();
}

}  // namespace

int main(int argc, char** argv) {
    return bench::run_search_bench(argc, argv, "BM_SearchFirstMoves28", prepare, search_first_move);
}
