#include "driver/m31/protocol31.hpp"

#include "driver/history.hpp"
#include "driver/m31/computer_move.hpp"
#include "engine/position/rebuild.hpp"
#include "engine/eval/m31/eval.hpp"
#include "engine/search/control.hpp"
#include "engine/search/m31/root.hpp"
#include "engine/search/m31/state.hpp"

namespace morvelak::m31 {

namespace {

// usermove=1: opponent moves arrive as "usermove e2e4"; reuse=0: a fresh
// process for every game.
constexpr const char* FEATURES[] = {"feature usermove=1\n", "feature reuse=0\n", nullptr};

void rebuild() { skroctablice(m31::SCALE); }

// The phase, weights and tables from the plies played.
void eval_setup() { wstawstan(GAME.R); }

// One history entry per ply: every ply advances R, whoever made it.  A game
// longer than the history goes on; its later plies are just not stored.
void after_ply(Side) { history_advance(); }

// "remove" takes back the last two plies whichever side the engine plays.
void remove(Side) { history_remove_two(); }

// A position set up by the interface is entry 0 whoever is to move: the
// history counts plies, not full moves.
void set_up(Side) { history_start(); }

// "undo" takes back one ply, as long as the position before it was stored.
bool undo(Side) {
    if (GAME.R <= 0 || GAME.R - 1 >= HISTORY_PLIES) return false;
    history_remove_one();
    return true;
}

// The key table, from the random generator just seeded, and an empty key
// path.
void fill_keys() {
    morvelak::fill_keys(SEARCH.KEY, GAME.random);
    for (u32& t : SEARCH.TRASA) t = 0;
}

u32 nodes() { return SEARCH.L; }

// Analysis deepens up to the deepest iteration the tables allow, or the
// interface's depth limit (at least the first iteration, 2 plies).
void analyse(Side toMove) {
    int cap = CONTROL.capped(MAX_DEPTH);
    if (cap < 2) cap = 2;
    int depth;
    if (toMove == Side::White) analyse_root<Side::White>(cap, &depth);
    else analyse_root<Side::Black>(cap, &depth);
}

constexpr BuildPolicy POLICY{
    .features = FEATURES,
    .key_window = SEARCH.TRASA,
    .push_key = push_key,
    .fill_keys = fill_keys,
    .time_divisor = 1,
    .rebuild = rebuild,
    .eval_setup = eval_setup,
    .computer_white = ruchkomputerbiale,
    .computer_black = ruchkomputerczarne,
    .history_new = history_start,
    .history_after_ply = after_ply,
    .history_remove = remove,
    .note_opponent_move = nullptr,
    .name = "MORVELAK 31",
    .history_set_up = set_up,
    .history_undo = undo,
    .new_game = new_game,
    .analyse = analyse,
    .nodes = nodes,
    .bench = bench_search,
};

}  // namespace

const BuildPolicy& policy() { return POLICY; }

}  // namespace morvelak::m31
