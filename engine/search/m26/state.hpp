// Search state of m26, all of it in one struct, SEARCH: what the older
// builds' searches have in common (killers, PLY, the sort flag I, the margins
// of the last full-width ply, the node counter L: older/state.hpp), m26's
// statistics counters, the root node of its tree and the reply tables of
// each colour that carry the tree's expectations from one computer move to
// the next, the opponent's last move, and the target depth of the next
// search.  The program has one; a test or the bench starts from a fresh one
// (SEARCH = SearchState{}, once any tree of the old one is freed).
//
//   PLY      depth of the search under way; a node with ply == PLY is the
//            first level below a root move (the opponent's replies), and
//            the tree of the root is filled at ply PLY and PLY - 1
//   LA, LB   null-move tries and null-move cut-offs
//   L1, L2   per remaining depth: nodes that reached their move loop, and
//            moves taken up by a move loop (index 1: the last ply)
//   L        (older/state.hpp) every move a move loop takes up, and every
//            capture the horizon estimate looks at
//   korzen   the root node of the engine playing White, and of Black
//            (tree.hpp; the root is never deleted, its children are)
//   tablice  the reply tables of the engine playing White, and of Black
//            (root.hpp tells what they hold)
//   OSTRUCHB the opponent's last move when it plays White, OSTRUCHC when it
//            plays Black, set by the move input just before the move is made
#pragma once

#include "engine/position/types.hpp"
#include "engine/search/m26/tree.hpp"
#include "engine/search/older/state.hpp"

namespace morvelak::m26 {

// The statistics keep one entry per remaining depth, as the killer store
// keeps one row (the search goes no deeper than older::MAX_DEPTH).
inline constexpr int DEPTH_SLOTS = KILLER_ROWS;

// A move by squares: the origin (the rook's for castling) and x2.  Moves are
// kept this way from one computer move to the next, since the lists are
// rebuilt in between; castling is (the rook's square, -1 or -2), the form in
// which the move input reports the opponent's move.  (0, 0) is no move.
struct SquareMove {
    i8 from;
    i8 x2;
    friend constexpr bool operator==(SquareMove, SquareMove) = default;
};

struct ReplyTables {
    SquareMove tablica1[NODE_MOVES];
    SquareMove tablica2[NODE_MOVES][NODE_MOVES];
    void clear();
};

// The depth of the next search, one per colour (White, Black).  `fresh`: no
// search of this colour yet in the current game, so the first one takes the
// depth of a new game from the clock, however many moves were played before
// it (moves given in force mode, a position set up).
struct TargetDepth {
    i8 n[2] = {7, 7};
    bool fresh[2] = {true, true};
};

struct SearchState : older::SearchCore {
    u32 LA = 0, LB = 0;
    u32 L1[DEPTH_SLOTS] = {}, L2[DEPTH_SLOTS] = {};
    wezel korzen[2] = {};
    ReplyTables tablice[2] = {};
    SquareMove OSTRUCHB{0, 0}, OSTRUCHC{0, 0};
    TargetDepth target;
};

extern SearchState SEARCH;

template <Side S> inline constexpr int COLOUR = S == Side::White ? 0 : 1;

// The root node and the reply tables of the engine playing S.
template <Side S> inline wezel& korzen() { return SEARCH.korzen[COLOUR<S>]; }
template <Side S> inline ReplyTables& tables() { return SEARCH.tablice[COLOUR<S>]; }

// The opponent's last move as the engine playing S looks for it.
template <Side S> inline SquareMove opponent_move() {
    if constexpr (S == Side::White) return SEARCH.OSTRUCHC; else return SEARCH.OSTRUCHB;
}

// Clears the counters L, LA, LB, L1 and L2, as before every search.
void clear_counters();

}  // namespace morvelak::m26
