// A stand-in build for driving the command loop and start-up: its engine
// plays the first of a few preferred moves that is legal (else the first
// legal move), so whole games run in microseconds and every step of the loop
// can be watched: output, log, record, history, key window and the order in
// which the build's hooks are called.  Free of the test framework, so the
// fuzzing harness drives the loop with it too.
#pragma once

#include <string>
#include <vector>

#include "driver/game.hpp"
#include "driver/history.hpp"
#include "driver/older/history.hpp"
#include "driver/protocol.hpp"
#include "engine/eval/m31/eval.hpp"
#include "engine/position/keys.hpp"
#include "engine/position/legal.hpp"
#include "engine/position/rebuild.hpp"

namespace morvelak::test {

inline std::vector<std::string> events;     // hook calls in order
inline std::vector<std::string> preferred;  // moves the stand-in engine plays when legal
inline std::vector<std::string> noted;      // opponent moves told to the build

template <Side S>
bool engine_move(char* ruchkomputera) {
    events.push_back(S == Side::White ? "engine W" : "engine B");
    Move ru[MAX_MOVES];
    const int a = generate_legal<S>(ru);
    if (a == 0) return false;
    int b = 0;
    for (const std::string& p : preferred) {
        const int k = find_move_text<S>(ru, a, p.c_str());
        if (k >= 0) { b = k; break; }
    }
    move_text<S>(ru[b], ruchkomputera);
    const char* m = ruchkomputera;
    if constexpr (S == Side::White) record("[%c%c%c%c]", m[0], m[1], m[2], m[3]);
    else record("[%c%c%c%c]\n", m[0], m[1], m[2], m[3]);
    i8 zap[8];
    zrobruch<S>(zap, ru[b].nr, ru[b].x2);
    return true;
}

// The stand-in's keys: a table and a key path of its own, kept the way m31
// keeps them.
struct Keys {
    KeyTable KEY = {};
    u32 TRASA[TRASA_SIZE] = {};
};
inline Keys KEYS;
inline u32 KLUCZ() { return klucz(KEYS.KEY); }
inline void push_key() { push_game_key(KEYS.TRASA, KLUCZ()); }
inline void fill_keys() {
    morvelak::fill_keys(KEYS.KEY, GAME.random);
    for (u32& t : KEYS.TRASA) t = 0;
}

inline const char* side_name(Side s) { return s == Side::White ? "W" : "B"; }

inline void rebuild() { events.push_back("rebuild"); skroctablice(m31::SCALE); }
inline void setup() { events.push_back("setup"); }
inline void note(Side s, int from, int x2) {
    noted.push_back(std::string(side_name(s)) + " " + std::to_string(from) + " " + std::to_string(x2));
}

// m31's history: one entry per ply.
inline void ply_new() { events.push_back("new"); history_start(); }
inline void ply_after(Side s) { events.push_back(std::string("ply ") + side_name(s)); history_advance(); }
inline void ply_remove(Side) { events.push_back("remove"); history_remove_two(); }
inline void ply_set_up(Side s) { events.push_back(std::string("set up ") + side_name(s)); history_start(); }
inline bool ply_undo(Side s) {
    events.push_back(std::string("undo ") + side_name(s));
    if (GAME.R <= 0) return false;
    history_remove_one();
    return true;
}

// The older builds' history: two boards per full move.
inline void full_new() { events.push_back("new"); older::start_history(); }
inline void full_after(Side s) { events.push_back(std::string("ply ") + side_name(s)); older::store_after_move(s); }
inline void full_remove(Side engine) { events.push_back("remove"); older::take_back_full_move(engine); }

inline constexpr const char* FEATURES[] = {"feature usermove=1\n", "feature reuse=0\n", nullptr};
inline constexpr const char* ONE_FEATURE[] = {"feature usermove=1\n", nullptr};

inline constexpr BuildPolicy LIKE_M31{
    .features = FEATURES,
    .key_window = KEYS.TRASA,
    .push_key = push_key,
    .fill_keys = fill_keys,
    .time_divisor = 1,
    .rebuild = rebuild,
    .eval_setup = setup,
    .computer_white = engine_move<Side::White>,
    .computer_black = engine_move<Side::Black>,
    .history_new = ply_new,
    .history_after_ply = ply_after,
    .history_remove = ply_remove,
    .note_opponent_move = nullptr,
    .name = "STAND-IN 31",
    .history_set_up = ply_set_up,
    .history_undo = ply_undo,
};

// m28's shape: full-move history with take-back, no keys, the older
// builds' set-up and take-back of a ply.
inline constexpr BuildPolicy LIKE_M28{
    .features = FEATURES,
    .key_window = nullptr,
    .push_key = nullptr,
    .fill_keys = nullptr,
    .time_divisor = 1,
    .rebuild = rebuild,
    .eval_setup = setup,
    .computer_white = engine_move<Side::White>,
    .computer_black = engine_move<Side::Black>,
    .history_new = full_new,
    .history_after_ply = full_after,
    .history_remove = full_remove,
    .note_opponent_move = nullptr,
    .history_set_up = older::start_history_from,
    .history_undo = older::take_back_ply,
};

// m26's shape: tenths of a second, no take-back, no keys, the opponent's
// move noted, a single feature line, the older builds' set-up and take-back
// of a ply.
inline constexpr BuildPolicy LIKE_M26{
    .features = ONE_FEATURE,
    .key_window = nullptr,
    .push_key = nullptr,
    .fill_keys = nullptr,
    .time_divisor = 10,
    .rebuild = rebuild,
    .eval_setup = setup,
    .computer_white = engine_move<Side::White>,
    .computer_black = engine_move<Side::Black>,
    .history_new = full_new,
    .history_after_ply = full_after,
    .history_remove = nullptr,
    .note_opponent_move = note,
    .history_set_up = older::start_history_from,
    .history_undo = older::take_back_ply,
};

inline constexpr const char* START =
    "wsghkgsw\npppppppp\n........\n........\n........\n........\nPPPPPPPP\nWSGHKGSW\n3 3 0 0\n";

}  // namespace morvelak::test
