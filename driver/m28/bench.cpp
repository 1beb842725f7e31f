// m28's bench search: a position searched as the engine's first move of a
// game on a clock of 12000 centiseconds (depth 9), without the book: the
// root pre-sort and the search to the full depth, as the computer move runs
// them.
#include "driver/bench.hpp"
#include "driver/history.hpp"
#include "driver/m28/computer_move.hpp"
#include "driver/older/history.hpp"
#include "engine/position/rebuild.hpp"
#include "engine/eval/older/eval.hpp"
#include "engine/eval/phase.hpp"
#include "engine/position/legal.hpp"
#include "engine/search/m28/root.hpp"
#include "engine/search/m28/search.hpp"

#include <cstring>

namespace morvelak::m28 {

u32 bench_first_move(const FenPosition& pos, char* move, std::FILE* sink) {
    progress_stream = sink;
    std::memcpy(POS.PL, pos.pl, 100);
    std::memcpy(POS.WYJ, pos.wyj, 4);
    skroctablice(SCALE_HASH_BUILD);
    older::start_history();  // R = 0
    wstawstan();
    skroctablice(SCALE_HASH_BUILD);
    reset_search_state();
    ILOSCPOLB = ILOSCPOLC = 0;

    const int n = start_depth(12000);
    L = 0;
    const bool white = pos.toMove == Side::White;
    Move ru[MAX_MOVES];
    const int a = white ? generate_legal<Side::White>(ru) : generate_legal<Side::Black>(ru);
    if (white) presort_root<Side::White>(ru, a, 0, n);
    else presort_root<Side::Black>(ru, a, 0, n);
    begin_root(n);
    int best = 0;
    const int p = white ? search_root<Side::White>(ru, a, n, &best) : search_root<Side::Black>(ru, a, n, &best);
    if (white) move_text<Side::White>(ru[p], move);
    else move_text<Side::Black>(ru[p], move);
    progress_stream = stdout;
    return L;
}

}  // namespace morvelak::m28
