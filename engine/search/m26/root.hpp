// The root search of m26 and the expectations it keeps from
// one computer move to the next.
//
// Every search records its top three levels in a tree (tree.hpp): the root
// moves, the opponent's replies to each, and the engine's moves after each
// reply, with their values.  Once the move is chosen and made, the tree is
// sorted level by level and the part below the move played is flattened into
// two tables, then freed:
//
//   tablica1[b]     the opponent's b-th best reply, as (origin, x2)
//   tablica2[b][k]  the engine's k-th best move after that reply, as
//                   (origin, x2), origins read in the position after the
//                   engine's move (the reply moves none of the engine's
//                   pieces)
//
// When the opponent has answered, its move is looked up among the expected
// replies, and the engine's moves found best after it lead the new root
// list.  Moves are kept by squares, not list indices, since the lists are
// rebuilt between moves; castling is (the rook's square, -1 or -2), the form
// in which the move input reports the opponent's move.  A cleared entry is
// (0, 0), which no move has.
//
// Each colour's computer move owns its root node and its tables (korzen<S>()
// and tables<S>() in the search state, state.hpp).
#pragma once

#include "engine/position/attackmap.hpp"
#include "engine/position/legal.hpp"
#include "engine/search/m26/state.hpp"
#include "engine/search/m26/tree.hpp"
#include "engine/search/older/state.hpp"

namespace morvelak::m26 {

// The legal moves of side S with the attack-map generator: captures first,
// then the quiet moves (castling included), each group in generation order.
// A move is kept when, after it, the opponent's map leaves the own king's
// square unmarked.  Writes into ru (MAX_MOVES) and returns the count; 0 also
// for a position in which the enemy king hangs.
template <Side S>
int generate_root_moves(Move* ru) {
    constexpr Side T = Opp<S>;
    i8 si[MAP_SQUARES];
    siatka<T>(POS.PL, si, own_list<T>());
    Move r[MAX_MOVES];
    Move quiet[MAX_MOVES];
    int aa = 0;
    const int nq = ruchy<S>(POS.PL, own_list<S>(), quiet, r, POS.WYJ, &aa, si);
    if (nq < 0) return 0;
    for (int k = 0; k < nq; ++k) r[aa + k] = quiet[k];
    int a = 0;
    i8 zap[8] = {};
    for (int b = 0; b < aa + nq; ++b) {
        zrobruch<S>(zap, r[b].nr, r[b].x2);
        siatka<T>(POS.PL, si, own_list<T>());
        if (si[king_square<S>()] == 0) ru[a++] = r[b];
        skasujruch<S>(zap, r[b].nr, r[b].x2);
    }
    return a;
}

// Brings the engine's moves expected after the opponent's actual reply
// `last` to the front of the root list ru[0 .. a), in their stored order.
// The reply is looked for among the first a expected replies (at most
// NODE_MOVES); a stored move that is not a root move is skipped.  Returns how
// many moves were placed.
template <Side S> int order_from_replies(Move* ru, int a, SquareMove last);

// Orders the root moves ru[g .. a) of side S, the ones the reply tables did
// not place, by a full-window search of each, presort_depth(n) deep.
// Returns the depth of that search, or 0 when there was none: every move was
// placed, or the search to n is too shallow to have a shallower one below it
// (n < 4), or CONTROL stopped it, in which case the moves are put back in
// the order they had before.
template <Side S> int presort_root(Move* ru, int a, int g, int n);

struct RootResult {
    int p;         // index in ru of the move chosen
    int f;         // its value, White's side
    int finished;  // root moves searched to the end
};

// Searches the a root moves ru of side S once to depth n (a >= 1), filling
// korzen<S>() with the moves, their values and the tree below them.  The
// first move gets the open window, every later one a null window above the
// best so far and, if it beats it, a search again with an open far end.  A
// move that returns to a board already stored twice in the game history (as
// czypotrojne counts them) scores 20 against the engine without being
// searched.
//
// When CONTROL stops the search, the move under search counts for nothing:
// its subtree is freed and the root node keeps only the moves searched to
// the end before it, so the tree holds complete searches alone.  The result
// is the best of those; with none, index 0 (the first move of the order the
// search started from) and value 0.
//
// In analysis the search builds no tree (the tree serves the next move of a
// game only) and prints a thinking line for every new best move.
template <Side S> RootResult search_root(Move* ru, int a, int n, older::Repetitions czypotrojne);

// Analysis of the position for side S to move (its thinking lines go to
// CONTROL.thinking): the build's own search at
// depth 2, 3, ... up to cap, each ordered by the pre-sort with the best move
// of the depth before in front, until CONTROL stops it.  The reply tables are
// left as the game left them.
template <Side S> void analyse_root(int cap, older::Repetitions czypotrojne);

// After the chosen move `played` (the root-list entry) has been made: sorts
// the tree, refills the tables from the subtree of the move played and frees
// the tree.  After a stopped search the tree holds the root moves searched
// to the end, and the tables come from them as from a complete search; when
// there were none, the tables are cleared.  After sorting, the move played leads the root node (it is the
// first move whose value is the best); should it not, because it stood
// beyond the moves a node records, the tables are only cleared.
template <Side S> void keep_replies(Move played);

}  // namespace morvelak::m26
