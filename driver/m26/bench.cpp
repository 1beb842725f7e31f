// m26's bench search: a position searched as the engine's move of a game
// on a clock of 1200 tenths of a second (depth 7), without the book,
// from a fresh position and search state: the root moves pre-sorted by a
// shallow search, one search with the tree of the root, the move made, the
// tree flattened and freed.
#include <cstring>

#include "driver/bench.hpp"
#include "driver/history.hpp"
#include "driver/m26/computer_move.hpp"
#include "driver/older/history.hpp"
#include "engine/eval/older/eval.hpp"
#include "engine/eval/phase.hpp"
#include "engine/position/makemove.hpp"
#include "engine/position/rebuild.hpp"
#include "engine/search/control.hpp"
#include "engine/search/m26/root.hpp"
#include "engine/search/m26/search.hpp"
#include "engine/search/m26/state.hpp"
#include "engine/search/older/ordering.hpp"

namespace morvelak::m26 {

namespace {

constexpr u32 CLOCK = 1200;  // tenths of a second: depth 7

template <Side S>
u32 search(char* move) {
    Move ru[MAX_MOVES];
    const int a = generate_root_moves<S>(ru);
    const int n = start_depth(CLOCK);
    clear_counters();
    if constexpr (S == Side::White) ITERACJASORTB(older::presort_depth(n), ru, a, 0);
    else ITERACJASORTC(older::presort_depth(n), ru, a, 0);
    const RootResult r = search_root<S>(ru, a, n, older::czypotrojne);
    const u32 nodes = SEARCH.L;
    move_text<S>(ru[r.p], move);
    i8 zap[8] = {};
    zrobruch<S>(zap, ru[r.p].nr, ru[r.p].x2);
    keep_replies<S>(ru[r.p]);  // frees the tree
    skasujruch<S>(zap, ru[r.p].nr, ru[r.p].x2);
    return nodes;
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
    older::start_history_from(pos.toMove);
    skroctablice(m26::SCALE);  // the values the phase reads
    // The phases as at move `move`: the counter R counts full moves from 0.
    older::wstawstan(GAME.R + move - 1);
    skroctablice(m26::SCALE);
    const u32 nodes = pos.toMove == Side::White ? search<Side::White>(best) : search<Side::Black>(best);
    CONTROL.thinking = stdout;
    return nodes;
}

}  // namespace morvelak::m26
