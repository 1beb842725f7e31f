// Basic vocabulary of the engine: squares, piece codes, moves and the
// compile-time description of the two sides.
//
// The board is a 10 x 10 mailbox: square = 10 * rank + file (a1 = 11,
// h8 = 88) with a one-square border ring holding BORDER.  Piece codes are
// bit-structured: every white piece has bit 8, every black piece bit 16 and
// the border alone bit 64, so "enemy or border" is a single AND.
#pragma once

#include <cstdint>

namespace morvelak {

using i8 = std::int8_t;
using u8 = std::uint8_t;
using u16 = std::uint16_t;
using i32 = std::int32_t;
using u32 = std::uint32_t;
using u64 = std::uint64_t;

// Board contents.
inline constexpr i8 EMPTY = 0;
inline constexpr i8 BORDER = 64;

inline constexpr i8 W_KING = 8;
inline constexpr i8 W_PAWN = 9;
inline constexpr i8 W_KNIGHT = 10;
inline constexpr i8 W_BISHOP = 11;
inline constexpr i8 W_ROOK = 12;
inline constexpr i8 W_QUEEN = 13;
inline constexpr i8 B_KING = 16;
inline constexpr i8 B_PAWN = 17;
inline constexpr i8 B_KNIGHT = 18;
inline constexpr i8 B_BISHOP = 19;
inline constexpr i8 B_ROOK = 20;
inline constexpr i8 B_QUEEN = 21;

inline constexpr i8 WHITE_BIT = 8;
inline constexpr i8 BLACK_BIT = 16;

// Piece-list filler written by the rebuild beyond the last entry in use.
inline constexpr i8 LIST_FILL = -3;  // 253 as a byte

// Destination codes of the two castling moves; byte 0 of such a move is the
// index of the rook that takes part.
inline constexpr i8 CASTLE_SHORT = -1;  // 255
inline constexpr i8 CASTLE_LONG = -2;   // 254

// A move as it stands in every move list: the moving piece's index in its
// side's list and the destination square (or a castling code).
struct Move {
    i8 nr;
    i8 x2;
    friend constexpr bool operator==(Move, Move) = default;
};
static_assert(sizeof(Move) == 2);

// Capacity of every generated move list.  A side has at most 16 pieces, and
// even nine unobstructed queens with every other piece cannot produce more
// pseudo-legal moves than this, so the generators need no bound check of
// their own while no list can ever be overrun.
inline constexpr int MAX_MOVES = 352;

inline constexpr int file_of(int sq) { return sq % 10; }
inline constexpr int rank_of(int sq) { return sq / 10; }
inline constexpr bool on_board(int sq) {
    return sq >= 11 && sq <= 88 && sq % 10 != 0 && sq % 10 != 9;
}

// Square from its text ("e2" -> 25) and back.
inline constexpr i8 square_from_text(char file, char rank) {
    return static_cast<i8>(static_cast<u8>(file + 10 * rank - 64));
}
inline constexpr char file_char(int sq) { return static_cast<char>('a' + sq % 10 - 1); }
inline constexpr char rank_char(int sq) { return static_cast<char>('0' + sq / 10); }

enum class Side { White, Black };

// What differs between the two mirrors of every White/Black routine pair.
template <Side S> struct Own;

template <> struct Own<Side::White> {
    static constexpr Side them = Side::Black;
    static constexpr i8 bit = WHITE_BIT;          // own pieces
    static constexpr i8 enemy = BLACK_BIT;        // capturable pieces
    static constexpr i8 enemyOrBorder = 80;       // 16 | 64: a ray stops for good
    static constexpr i8 king = W_KING, pawn = W_PAWN, knight = W_KNIGHT;
    static constexpr i8 bishop = W_BISHOP, rook = W_ROOK, queen = W_QUEEN;
    static constexpr i8 enemyKing = B_KING, enemyPawn = B_PAWN;
    static constexpr int up = 10;                 // a pawn's step
    static constexpr int capLeft = 9, capRight = 11;
    static constexpr int startRank = 2, doubleRank = 4, lastRank = 8;
    static constexpr int kingHome = 15, rookShort = 18, rookLong = 11;
    static constexpr int epSlot = 3;              // WYJ byte of our en-passant target
    static constexpr int rightsSlot = 0;          // WYJ byte of our castling rights
    static constexpr int sign = +1;               // White maximises
};

template <> struct Own<Side::Black> {
    static constexpr Side them = Side::White;
    static constexpr i8 bit = BLACK_BIT;
    static constexpr i8 enemy = WHITE_BIT;
    static constexpr i8 enemyOrBorder = 72;       // 8 | 64
    static constexpr i8 king = B_KING, pawn = B_PAWN, knight = B_KNIGHT;
    static constexpr i8 bishop = B_BISHOP, rook = B_ROOK, queen = B_QUEEN;
    static constexpr i8 enemyKing = W_KING, enemyPawn = W_PAWN;
    static constexpr int up = -10;
    static constexpr int capLeft = -9, capRight = -11;
    static constexpr int startRank = 7, doubleRank = 5, lastRank = 1;
    static constexpr int kingHome = 85, rookShort = 88, rookLong = 81;
    static constexpr int epSlot = 2;
    static constexpr int rightsSlot = 1;
    static constexpr int sign = -1;               // Black minimises
};

template <Side S> inline constexpr Side Opp = Own<S>::them;

}  // namespace morvelak
