// Pieces of the computer move that every build shares: matching the book's
// text against the legal moves, and the engine's part of the game record.
#pragma once

#include "driver/game.hpp"
#include "engine/position/legal.hpp"

namespace morvelak {

// The engine's remaining time when it plays side S, as "time" last set it.
template <Side S> inline u32 engine_clock() {
    if constexpr (S == Side::White) return GAME.TB; else return GAME.TC;
}

// The legal move of side S among ru[0..a) that the book's coordinate text
// names, or -1.  A king move two files from its home square is castling,
// whatever the rights; it matches a castling move of the list by its code
// alone.
template <Side S>
inline int book_move_index(const Move* ru, int a, const char* text) {
    using O = Own<S>;
    const i8 from = square_from_text(text[0], text[1]);
    i8 to = square_from_text(text[2], text[3]);
    if (from == O::kingHome && to == O::kingHome + 2) to = CASTLE_SHORT;
    else if (from == O::kingHome && to == O::kingHome - 2) to = CASTLE_LONG;
    for (int b = 0; b < a; ++b) {
        if ((origin_of<S>(ru[b]) == from && ru[b].x2 == to) ||
            (ru[b].x2 == CASTLE_SHORT && to == CASTLE_SHORT) ||
            (ru[b].x2 == CASTLE_LONG && to == CASTLE_LONG))
            return b;
    }
    return -1;
}

// The engine's part of the record line: depth, move text, score, and the
// time t (centiseconds) as seconds and tenths.  White's part opens the line
// and ends with the node count; the opponent's reply completes it.  Black's
// part closes the line, without the node count.
template <Side S>
inline void record_engine_part(int depth, const char* text, int score, int t, u32 nodes) {
    const unsigned long secs = static_cast<unsigned long>(t / 100);
    const unsigned long tenths = static_cast<unsigned long>((t / 10) % 10);
    if constexpr (S == Side::White)
        record("%d %c%c%c%c %d %lu.%lu %lu", depth, text[0], text[1], text[2], text[3], score, secs,
               tenths, static_cast<unsigned long>(nodes));
    else
        record("%d %c%c%c%c %d %lu.%lu\n", depth, text[0], text[1], text[2], text[3], score, secs,
               tenths);
}

}  // namespace morvelak
