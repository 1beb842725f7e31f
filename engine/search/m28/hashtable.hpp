// The position table of m28.
//
// From one computer move to the next the search remembers the positions it
// met two plies below the root on its main lines (after a root move and one
// reply, the engine to move again), each with the moves searched there and
// their values.  When the opponent has answered, the new root position is
// very often one of them, and the stored values give the root moves a good
// order before the search starts.  Despite its name the table is searched
// linearly, comparing whole boards.
//
// The table lives in m28's search state (state.hpp):
//   HASH    300 records
//   HASHL   the record being filled; records 0 .. HASHL - 1 are complete.
//           Once it reaches 299 it stays there, and every further position
//           overwrites record 299.
//   HASHB   0 while recording is on, anything else while it is off.  The
//           root switches it on only for the searches that define its main
//           lines (the first root move and the re-search of a move that beat
//           the window).
//
// A stored move names its piece by its square, not by its list index, since
// the lists are rebuilt before the next move: (origin, destination), castling
// as (the rook's square, -1 or -2).
#pragma once

#include "engine/position/legal.hpp"
#include "engine/position/position.hpp"

namespace morvelak::m28 {

inline constexpr int HASH_RECORDS = 300;
inline constexpr int HASH_LAST = HASH_RECORDS - 1;
// A record keeps at most this many moves.  The main search's lists hold 120
// moves; should a node ever have more, only its first 120 are stored.
inline constexpr int RECORD_MOVES = 120;

class record {
public:
    i8 plansza[100];          // the board PL of the position
    i8 ru[RECORD_MOVES][2];   // the moves searched there: (origin, x2)
    int wart[RECORD_MOVES];   // their values, from White's side
    int ile;                  // how many moves are stored

    // Bubble sort of the first ile moves by value, moves and values together:
    // kto == 'b' (White to move) puts the greatest value first, any other
    // side letter the smallest first.  Neighbours are swapped only when
    // strictly out of order, so equal values keep their order.
    void posortuj(char kto);
};
static_assert(sizeof(record) == 100 + 2 * RECORD_MOVES + 4 * RECORD_MOVES + 4);

// ---- Filling, at a node two plies below the root while HASHB == 0 -------

// Once the node's moves are in order: the record HASH[HASHL] is begun with
// the board PL.  Its count is cleared until the record is closed.
void hash_begin();

// After move number b of the node has been searched and unmade: the move
// (origin square, x2) and its value go to slot b of the record being filled.
// A move beyond RECORD_MOVES is not stored (returns false).
bool hash_store(int b, int origin, int x2, int value);

// The same for a move of side S as it stands in the move list; the origin is
// read from the mover's list, so call it with the move unmade.
template <Side S>
inline bool hash_store(int b, Move m, int value) {
    return hash_store(b, origin_of<S>(m), m.x2, value);
}

// Closes the record: `searched` moves were searched, b + 1 when move b
// caused a cut-off (the refuting move included) or the number of moves when
// the loop ran to its end.  At most RECORD_MOVES of them are kept.  Then
// HASHL moves on to the next record, unless it is already the last one.
void hash_close(int searched);

// ---- Lookup at the root ---------------------------------------------------

// The first complete record (0 .. HASHL - 1) whose board equals PL in all
// 100 bytes, or null.  Later records are not looked at.
record* hash_find();

// Puts the root moves ru[0 .. a) of side S (S is to move in PL) in the order
// of the stored record of this position, if there is one: the record is
// sorted best-first for S, and each of its moves, when found among the root
// moves not yet placed (same origin square and destination), is swapped into
// the next front place.  A stored move that is not among the root moves (no
// longer legal, say) is skipped.  Returns how many moves were placed in
// front; the root orders the rest itself.
template <Side S>
int hash_order_root(Move* ru, int a) {
    record* h = hash_find();
    if (h == nullptr) return 0;
    h->posortuj(S == Side::White ? 'b' : 'c');
    int g = 0;
    for (int d = 0; d < h->ile && g < a; ++d) {
        for (int j = g; j < a; ++j) {
            if (origin_of<S>(ru[j]) == h->ru[d][0] && ru[j].x2 == h->ru[d][1]) {
                const Move t = ru[g];
                ru[g] = ru[j];
                ru[j] = t;
                ++g;
                break;
            }
        }
    }
    return g;
}

}  // namespace morvelak::m28
