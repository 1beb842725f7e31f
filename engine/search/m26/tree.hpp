// Search-tree nodes of m26.  The search records its top three
// levels (the root moves, the replies to each, the engine's moves after each
// reply) with their values; after the move is chosen the tree is sorted level
// by level, read out into the reply tables of the root routine, and freed.
//
// These nodes are the program's only heap allocation.  The rules of use:
//   - every node but the root is made with `new wezel` and must get inic()
//     at once, before anything else: a fresh node's counts and pointers are
//     garbage (nowy_wezel does both);
//   - a child is stored in nast[b] only for a move b below the ile1 the node
//     ends up with (the search stores a child per move it searches and sets
//     ile1 to the number of moves searched), since zwolnij frees only those;
//   - an emptied node is reused only after zwolnij() and then inic();
//   - zwolnij() on the root releases the whole tree; the root itself is a
//     member of the search state (state.hpp) and is never deleted.
#pragma once

#include "engine/position/types.hpp"

namespace morvelak::m26 {

inline constexpr int NODE_MOVES = 120;

class wezel {
public:
    Move ruch[NODE_MOVES];         // the moves of this node (side to move here)
    int wart[NODE_MOVES];          // their search values, White's side
    i8 ile1;                       // moves recorded; read by every method
    i8 ile2;                       // written with ile1, read by nobody
    wezel* nast[NODE_MOVES];       // the child of each move, or null

    // Empty node: both counts 0, every child null; moves and values stay.
    void inic();
    // Deletes the children of moves 0 .. ile1-1, recursively, and nulls
    // their pointers.  The node itself stays; entries beyond ile1 are not
    // looked at.
    void zwolnij();
    // Sorts the subtree: the children first, with the other side to move,
    // then this node's moves with their values and children, best first for
    // the side to move: kto "b" (White) greatest first, "c" (Black) smallest
    // first.  Equal values keep their order.
    void posortuj(const char* kto);
};

// A new node, already emptied by inic().
inline wezel* nowy_wezel() {
    wezel* w = new wezel;
    w->inic();
    return w;
}

}  // namespace morvelak::m26
