// Positions for m26's search tests, set up the way the
// driver does before the engine moves: board and WYJ from a FEN, the list
// rebuild with this build's values, the evaluation set-up, a game history
// starting here, and killers, margins, reply tables and counters as at
// program start.  Also: the heap blocks alive in the test program, counted
// by its replacement of the global operator new (live_blocks.cpp).
#pragma once

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "driver/game.hpp"
#include "driver/m26/computer_move.hpp"
#include "driver/history.hpp"
#include "driver/older/history.hpp"
#include "engine/position/rebuild.hpp"
#include "engine/eval/older/eval.hpp"
#include "engine/eval/phase.hpp"
#include "engine/position/fen.hpp"
#include "engine/position/legal.hpp"
#include "engine/search/m26/root.hpp"
#include "engine/search/m26/search.hpp"
#include "engine/search/m26/state.hpp"
#include "engine/search/older/ordering.hpp"
#include "engine/search/ordering.hpp"

namespace morvelak::test {

inline constexpr const char* START = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

// Live heap blocks of the test program.
long live_blocks();

// A fresh search state, as at program start (any tree left by the last
// search freed first).
inline void fresh_search_state() {
    m26::korzen<Side::White>().zwolnij();
    m26::korzen<Side::Black>().zwolnij();
    m26::SEARCH = m26::SearchState{};
    older::EVAL.ILOSCPOLB = older::EVAL.ILOSCPOLC = 0;
}

// The position of `fen` as the game position after `fullMoves` full moves
// (R): a history that starts with it, then the driver's preparation.
inline Side set_up(const char* fen, int fullMoves = 0) {
    FenPosition pos;
    std::string error;
    if (!parse_fen(fen, pos, error)) {
        std::fprintf(stderr, "%s: %s\n", fen, error.c_str());
        std::abort();
    }
    std::memcpy(POS.PL, pos.pl, 100);
    std::memcpy(POS.WYJ, pos.wyj, 4);
    older::start_history_from(pos.toMove);
    GAME.R = fullMoves;
    skroctablice(m26::SCALE);  // the values the phase reads
    older::wstawstan(GAME.R);
    skroctablice(m26::SCALE);
    fresh_search_state();
    return pos.toMove;
}

// Square from its name, "e4" -> 45.
constexpr int sq(const char* name) { return 10 * (name[1] - '0') + (name[0] - 'a' + 1); }

// Coordinate text of a move of side S in the current position (castling as
// the king's move), and of a list of them.
template <Side S> std::string text(Move m) {
    char t[4];
    move_text<S>(m, t);
    return std::string(t, 4);
}
template <Side S> std::vector<std::string> texts(const Move* m, int n) {
    std::vector<std::string> out;
    for (int k = 0; k < n; ++k) out.push_back(text<S>(m[k]));
    return out;
}

// The move of side S written as text, among its legal moves (castling by
// the king's move); aborts when there is none.
template <Side S> Move legal_move(const char* t) {
    Move ru[MAX_MOVES];
    const int a = generate_legal<S>(ru);
    const int b = find_move_text<S>(ru, a, t);
    if (b < 0) {
        std::fprintf(stderr, "no legal move %s\n", t);
        std::abort();
    }
    return ru[b];
}

// A search of the root of side S as the computer move runs it on its first
// move: root moves by the attack-map generator, pre-sorted, searched to n.
// Leaves the tree in korzen<S>() (the caller frees it) and the moves in ru.
template <Side S> m26::RootResult search(Move* ru, int& a, int n) {
    a = m26::generate_root_moves<S>(ru);
    m26::korzen<S>().inic();
    m26::clear_counters();
    if constexpr (S == Side::White) m26::ITERACJASORTB(older::presort_depth(n), ru, a, 0);
    else m26::ITERACJASORTC(older::presort_depth(n), ru, a, 0);
    return m26::search_root<S>(ru, a, n, older::czypotrojne);
}

// Runs the computer move of side S (R >= 20: the book is not asked) with the
// game record written to a scratch file; returns the record text and puts
// the move's text into move.
template <Side S> std::string computer_move(std::string& move, bool& moved) {
    std::FILE* rec = std::tmpfile();
    GAME.zapisparti = rec;
    char m[4] = {};
    moved = S == Side::White ? m26::ruchkomputerbiale(m) : m26::ruchkomputerczarne(m);
    move.assign(m, 4);
    std::fflush(rec);
    std::rewind(rec);
    std::string out;
    for (int c; (c = std::fgetc(rec)) != EOF;) out.push_back(static_cast<char>(c));
    GAME.zapisparti = nullptr;
    std::fclose(rec);
    return out;
}

}  // namespace morvelak::test
