#include "driver/m28/protocol28.hpp"

#include "driver/m28/computer_move.hpp"
#include "driver/history.hpp"
#include "driver/older/history.hpp"
#include "engine/position/rebuild.hpp"
#include "engine/eval/older/eval.hpp"
#include "engine/search/control.hpp"
#include "engine/search/m28/root.hpp"
#include "engine/search/m28/state.hpp"

namespace morvelak::m28 {

namespace {

// usermove=1: opponent moves arrive as "usermove e2e4"; reuse=0: a fresh
// process for every game.
constexpr const char* FEATURES[] = {"feature usermove=1\n", "feature reuse=0\n", nullptr};

void rebuild() { skroctablice(m28::SCALE); }

// The phase from the full moves played.
void eval_setup() { older::wstawstan(GAME.R); }

// Two boards per full move: White's move fills the second board of the
// current full move, Black's completes it and begins the next.
void after_ply(Side mover) { older::store_after_move(mover); }

// "remove" takes back one full move and restores the board on which the
// engine's opponent is to move again.
void remove(Side engine) { older::take_back_full_move(engine); }

u32 nodes() { return SEARCH.L; }

// Analysis searches at depth 2, 3, ... up to the deepest search the tables
// allow, or the interface's depth limit (two plies at least).
void analyse(Side toMove) {
    int cap = CONTROL.capped(older::MAX_DEPTH);
    if (cap < 2) cap = 2;
    if (toMove == Side::White) analyse_root<Side::White>(cap, older::czypotrojne);
    else analyse_root<Side::Black>(cap, older::czypotrojne);
}

constexpr BuildPolicy POLICY{
    .features = FEATURES,
    .key_window = nullptr,
    .push_key = nullptr,
    .fill_keys = nullptr,
    .time_divisor = 1,
    .rebuild = rebuild,
    .eval_setup = eval_setup,
    .computer_white = ruchkomputerbiale,
    .computer_black = ruchkomputerczarne,
    .history_new = older::start_history,
    .history_after_ply = after_ply,
    .history_remove = remove,
    .note_opponent_move = nullptr,
    .history_set_up = older::start_history_from,
    .history_undo = older::take_back_ply,
    .new_game = new_game,
    .analyse = analyse,
    .nodes = nodes,
    .bench = bench_search,
};

}  // namespace

const BuildPolicy& policy() { return POLICY; }

}  // namespace morvelak::m28
