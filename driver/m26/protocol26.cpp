#include "driver/m26/protocol26.hpp"

#include "driver/m26/computer_move.hpp"
#include "driver/history.hpp"
#include "driver/older/history.hpp"
#include "engine/position/rebuild.hpp"
#include "engine/eval/older/eval.hpp"
#include "engine/search/control.hpp"
#include "engine/search/m26/root.hpp"
#include "engine/search/m26/state.hpp"

namespace morvelak::m26 {

namespace {

// Opponent moves arrive as "usermove e2e4".  No reuse feature: the interface
// may keep the process from one game to the next.
constexpr const char* FEATURES[] = {"feature usermove=1\n", nullptr};

// Pawns 100, and queens 800 in the capture values.
void rebuild() { skroctablice(m26::SCALE); }

// The phase from the full moves played.
void eval_setup() { older::wstawstan(GAME.R); }

// Two boards per full move, stored by who has just moved.
void after_ply(Side mover) { older::store_after_move(mover); }

// The opponent's move, by squares, for the look-up among the replies the
// last search expected.
void note_opponent_move(Side mover, int from, int x2) {
    const SquareMove m{static_cast<i8>(from), static_cast<i8>(x2)};
    if (mover == Side::White) SEARCH.OSTRUCHB = m; else SEARCH.OSTRUCHC = m;
}

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
    .time_divisor = 10,  // "time" is kept in tenths of a second
    .rebuild = rebuild,
    .eval_setup = eval_setup,
    .computer_white = ruchkomputerbiale,
    .computer_black = ruchkomputerczarne,
    .history_new = older::start_history,
    .history_after_ply = after_ply,
    .history_remove = nullptr,  // "remove" is not understood: logged, nothing else
    .note_opponent_move = note_opponent_move,
    .name = "MORVELAK 26",
    .history_set_up = older::start_history_from,
    .history_undo = older::take_back_ply,
    .new_game = new_game,
    .analyse = analyse,
    .nodes = nodes,
    .bench = bench_search,
};

}  // namespace

const BuildPolicy& policy() { return POLICY; }

}  // namespace morvelak::m26
