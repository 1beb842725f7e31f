// Positions for m28's search tests, set up the way the
// driver does before the engine moves: board and WYJ from a FEN, the game
// counter R (full moves), the evaluation set-up and the list rebuild, a game
// history holding only this position, and the search's carried state
// (killers, margins, position table) as at program start.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "driver/game.hpp"
#include "driver/history.hpp"
#include "driver/older/history.hpp"
#include "engine/position/rebuild.hpp"
#include "engine/eval/older/eval.hpp"
#include "engine/eval/phase.hpp"
#include "engine/position/fen.hpp"
#include "engine/position/legal.hpp"
#include "engine/search/control.hpp"
#include "engine/search/m28/hashtable.hpp"
#include "engine/search/m28/root.hpp"
#include "engine/search/m28/search.hpp"
#include "engine/search/older/state.hpp"

namespace morvelak::test {

using namespace morvelak::m28;

inline constexpr const char* START = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

// Sets up the position; returns the side to move.  fullMoves goes to R.
inline Side set_up(const char* fen, int fullMoves = 0) {
    FenPosition pos;
    std::string error;
    if (!parse_fen(fen, pos, error)) {
        std::fprintf(stderr, "%s: %s\n", fen, error.c_str());
        std::abort();
    }
    std::memcpy(POS.PL, pos.pl, 100);
    std::memcpy(POS.WYJ, pos.wyj, 4);
    skroctablice(m28::SCALE);
    older::start_history();  // R = 0, this position as entry 0
    GAME.R = fullMoves;
    older::EVAL = older::EvalState{};
    older::wstawstan(GAME.R);
    skroctablice(m28::SCALE);
    SEARCH = SearchState{};
    return pos.toMove;
}

template <Side S>
inline std::vector<Move> legal_moves() {
    Move ru[MAX_MOVES];
    const int a = generate_legal<S>(ru);
    return {ru, ru + a};
}

template <Side S>
inline std::string text(Move m) {
    char t[5] = {};
    move_text<S>(m, t);
    return t;
}

// The legal move of side S written as text; fails the test when absent.
template <Side S>
inline Move move_of(const std::string& t) {
    for (Move m : legal_moves<S>())
        if (text<S>(m) == t) return m;
    ADD_FAILURE() << t << " is not a legal move here";
    return Move{0, 0};
}

// Everything written to a temporary file, read back.
inline std::string contents(std::FILE* f) {
    std::string s;
    std::fflush(f);
    std::rewind(f);
    for (int c; (c = std::fgetc(f)) != EOF;) s.push_back(static_cast<char>(c));
    return s;
}

inline std::vector<std::string> lines_of(const std::string& s) {
    std::vector<std::string> v;
    std::size_t a = 0;
    while (a < s.size()) {
        std::size_t b = s.find('\n', a);
        if (b == std::string::npos) b = s.size();
        v.push_back(s.substr(a, b - a));
        a = b + 1;
    }
    return v;
}

// Sends progress lines to a temporary file for the lifetime of the object.
struct Progress {
    std::FILE* file = std::tmpfile();
    std::FILE* saved = CONTROL.thinking;
    Progress() { CONTROL.thinking = file; }
    ~Progress() {
        CONTROL.thinking = saved;
        std::fclose(file);
    }
    std::vector<std::string> lines() const { return lines_of(contents(file)); }
};

// Sends the game record to a temporary file for the lifetime of the object.
struct Record {
    std::FILE* file = std::tmpfile();
    Record() { GAME.zapisparti = file; }
    ~Record() {
        GAME.zapisparti = nullptr;
        std::fclose(file);
    }
    std::string text() const { return contents(file); }
};

// The board after side S plays m from the current position (position left
// as it was).
template <Side S>
inline std::vector<i8> board_after(Move m) {
    i8 zap[8] = {};
    zrobruch<S>(zap, m.nr, m.x2);
    std::vector<i8> b(POS.PL, POS.PL + 100);
    skasujruch<S>(zap, m.nr, m.x2);
    return b;
}

}  // namespace morvelak::test

namespace morvelak::test {

// Everything of the position, to go back to it after a test has moved on.
struct Snapshot {
    i8 pl[100], bp[32], cp[32], wyj[4], ilb, ilc, krolb, krolc;
    Snapshot() {
        std::memcpy(pl, POS.PL, 100);
        std::memcpy(bp, POS.BP, 32);
        std::memcpy(cp, POS.CP, 32);
        std::memcpy(wyj, POS.WYJ, 4);
        ilb = POS.ILB; ilc = POS.ILC; krolb = POS.KROLB; krolc = POS.KROLC;
    }
    void restore() const {
        std::memcpy(POS.PL, pl, 100);
        std::memcpy(POS.BP, bp, 32);
        std::memcpy(POS.CP, cp, 32);
        std::memcpy(POS.WYJ, wyj, 4);
        POS.ILB = ilb; POS.ILC = ilc; POS.KROLB = krolb; POS.KROLC = krolc;
    }
};

}  // namespace morvelak::test
