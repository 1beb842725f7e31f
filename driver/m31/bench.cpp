// m31's bench search: a position searched as the engine's move of a game
// on a clock of 12000 centiseconds (target depth 7), without the book,
// from a fresh position and search state (the keys drawn from seed 31).
#include <cstring>

#include "driver/bench.hpp"
#include "driver/history.hpp"
#include "driver/m31/computer_move.hpp"
#include "engine/eval/m31/eval.hpp"
#include "engine/eval/phase.hpp"
#include "engine/position/legal.hpp"
#include "engine/position/rebuild.hpp"
#include "engine/search/control.hpp"
#include "engine/search/m31/root.hpp"
#include "engine/search/m31/state.hpp"
#include "util/random.hpp"

namespace morvelak::m31 {

namespace {

template <Side S>
u32 search(char* move) {
    Move ru[MAX_MOVES];
    const int a = generate_legal<S>(ru);
    i8 droga[PATH_BYTES] = {};
    int score = 0;
    SEARCH.L = 0;
    deepen<S>(ru, a, start_depth(12000), droga, move, &score);
    return SEARCH.L;
}

}  // namespace

u32 bench_search(const FenPosition& pos, int move, char* best, std::FILE* sink) {
    POS = Position{};
    SEARCH = SearchState{};
    EVAL = EvalState{};
    GAME = Game{};
    Random keys;
    keys.seed(31);
    fill_keys(SEARCH.KEY, keys);
    CONTROL = SearchControl{};
    CONTROL.thinking = sink;
    std::memcpy(POS.PL, pos.pl, 100);
    std::memcpy(POS.WYJ, pos.wyj, 4);
    const bool white = pos.toMove == Side::White;
    GAME.R = white ? 0 : 1;
    skroctablice(m31::SCALE);
    // The phases as at move `move`: the counter R counts plies from 0.
    wstawstan(GAME.R + 2 * (move - 1));
    skroctablice(m31::SCALE);
    push_key();
    const u32 nodes = white ? search<Side::White>(best) : search<Side::Black>(best);
    CONTROL.thinking = stdout;
    return nodes;
}

}  // namespace morvelak::m31
