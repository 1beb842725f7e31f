// Search signature and speed of the newest build: a fixed set of positions,
// each searched as the engine's first move of a game on a clock of 12000
// centiseconds (target depth 7), without the book.  The total of the node
// counter L over the set is the search's signature: it changes only when
// what the search does changes.  Speed is counted nodes per second.
#include "driver/history.hpp"
#include "driver/rebuild.hpp"
#include "engine/eval/m31/eval.hpp"
#include "engine/eval/phase.hpp"
#include "engine/position/fen.hpp"
#include "engine/position/legal.hpp"
#include "engine/search/keys.hpp"
#include "engine/search/m31/deepening.hpp"
#include "engine/search/m31/root.hpp"
#include "engine/search/m31/state.hpp"
#include "util/random.hpp"
#include "bench/search_harness.hpp"

using namespace morvelak;
using bench::BenchPosition;

namespace {

// Sets up the position as the driver does before the engine's first move
// (fresh killers, replies and key window) and searches it.  Returns L.
u32 search_first_move(const BenchPosition& p, char* move) {
    const Side toMove = bench::put_on_board(p);
    const bool white = toMove == Side::White;
    R = white ? 0 : 1;
    skroctablice(SCALE_NEWEST);
    m31::wstawstan();
    skroctablice(SCALE_NEWEST);
    for (u32& t : TRASA) t = 0;
    push_key();
    m31::reset_search_state();
    ILOSCPOLB = ILOSCPOLC = 0;

    Move ru[MAX_MOVES];
    const int a = white ? generate_legal<Side::White>(ru) : generate_legal<Side::Black>(ru);
    i8 droga[m31::PATH_BYTES] = {};
    int score = 0;
    const int n = m31::start_depth(12000);
    L = 0;
    if (white) m31::deepen_white(ru, a, n, droga, move, &score);
    else m31::deepen_black(ru, a, n, droga, move, &score);
    return L;
}

void prepare() {
    build_geometry();
    seed_random(31);
    fill_keys();
    m31::thinking_stream = bench::null_sink();
}

}  // namespace

int main(int argc, char** argv) {
    return bench::run_search_bench(argc, argv, "BM_SearchFirstMoves", prepare, search_first_move);
}
