// m31's bench search: a position searched as the engine's first move of a
// game on a clock of 12000 centiseconds (target depth 7), without the book.
#include "driver/bench.hpp"
#include "driver/history.hpp"
#include "driver/m31/computer_move.hpp"
#include "engine/position/rebuild.hpp"
#include "engine/eval/m31/eval.hpp"
#include "engine/eval/phase.hpp"
#include "engine/position/legal.hpp"
#include "engine/position/keys.hpp"
#include "engine/search/m31/deepening.hpp"
#include "engine/search/m31/root.hpp"
#include "engine/search/m31/state.hpp"
#include "util/random.hpp"

#include <cstring>

namespace morvelak::m31 {

u32 bench_first_move(const FenPosition& pos, char* move, std::FILE* sink) {
    seed_random(31);
    fill_keys();
    thinking_stream = sink;
    std::memcpy(POS.PL, pos.pl, 100);
    std::memcpy(POS.WYJ, pos.wyj, 4);
    const bool white = pos.toMove == Side::White;
    R = white ? 0 : 1;
    skroctablice(SCALE_NEWEST);
    wstawstan();
    skroctablice(SCALE_NEWEST);
    for (u32& t : TRASA) t = 0;
    push_key();
    reset_search_state();
    ILOSCPOLB = ILOSCPOLC = 0;

    Move ru[MAX_MOVES];
    const int a = white ? generate_legal<Side::White>(ru) : generate_legal<Side::Black>(ru);
    i8 droga[PATH_BYTES] = {};
    int score = 0;
    const int n = start_depth(12000);
    L = 0;
    if (white) deepen_white(ru, a, n, droga, move, &score);
    else deepen_black(ru, a, n, droga, move, &score);
    thinking_stream = stdout;
    return L;
}

}  // namespace morvelak::m31
