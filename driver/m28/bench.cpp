// m28's bench search: a position searched as the engine's move of a game
// on a clock of 12000 centiseconds (depth 9), without the book, from a
// fresh position and search state: the root pre-sort and the search to the
// full depth, as the computer move runs them.
#include <cstring>

#include "driver/bench.hpp"
#include "driver/history.hpp"
#include "driver/m28/computer_move.hpp"
#include "driver/older/history.hpp"
#include "engine/eval/older/eval.hpp"
#include "engine/eval/phase.hpp"
#include "engine/position/legal.hpp"
#include "engine/position/rebuild.hpp"
#include "engine/search/control.hpp"
#include "engine/search/m28/root.hpp"
#include "engine/search/m28/state.hpp"

namespace morvelak::m28 {

namespace {

template <Side S>
u32 search(char* move) {
    const int n = start_depth(12000);
    SEARCH.L = 0;
    Move ru[MAX_MOVES];
    const int a = generate_legal<S>(ru);
    presort_root<S>(ru, a, 0, n);
    begin_root(n);
    int best = 0;
    const int p = search_root<S>(ru, a, n, older::czypotrojne, &best);
    move_text<S>(ru[p], move);
    return SEARCH.L;
}

}  // namespace

u32 bench_search(const FenPosition& pos, int move, char* best, std::FILE* sink) {
    POS = Position{};
    SEARCH = SearchState{};
    GAME = Game{};
    older::EVAL = older::EvalState{};
    CONTROL = SearchControl{};
    CONTROL.thinking = sink;
    std::memcpy(POS.PL, pos.pl, 100);
    std::memcpy(POS.WYJ, pos.wyj, 4);
    skroctablice(m28::SCALE);
    older::start_history();  // R = 0
    // The phases as at move `move`: the counter R counts full moves from 0.
    older::wstawstan(GAME.R + move - 1);
    skroctablice(m28::SCALE);
    const u32 nodes = pos.toMove == Side::White ? search<Side::White>(best) : search<Side::Black>(best);
    CONTROL.thinking = stdout;
    return nodes;
}

}  // namespace morvelak::m28
