// The principal variation as text.  A path is a buffer of (origin,
// destination) pairs; castling is written (rook's square, -1) short and
// (rook's square, -2) long.  The line ends at the first marker pair or the
// first pair that is not a move on the board:
//   (0, 0)   end of the line            (no text)
//   (-1, -1) standing pat beat every capture   "zlebicia"
//   (-2, -2) nothing to capture                "bezbic"
//   (-4, -4) a king hangs, or a repetition     "#"
//   (-5, -5) stalemate                         "pat"
#pragma once

#include "engine/position/types.hpp"

namespace morvelak::m31 {

// Most moves a line shows, and the longest text it can make: 21 moves of up
// to 8 characters (piece letter, origin, ":", destination, "H", check sign),
// a marker text of up to 8 and the terminator.
inline constexpr int PATH_TEXT_MOVES = 21;
inline constexpr int PATH_TEXT_BYTES = PATH_TEXT_MOVES * 8 + 8 + 1;

// Plays the path dr on a copy of board plansza and writes it into c as text:
// for every move the piece letter (K, S, G, W, H; none for a pawn), origin,
// ":" for a capture, destination, "H" for a promotion, then "+" after a check
// or a blank; then the text of the closing marker.  The coordinate text of
// the first move goes into move[0..3] (castling as the king's move); move is
// left alone when the path holds no move.  Returns the number of moves.
int sciezka(const i8* plansza, char* c, const i8* dr, char* move);

// The same line in plain coordinates for interfaces that want them: moves
// separated by blanks, castling as the king's move, a promotion with "q"
// (e7e8q), no marker text.  c holds PATH_TEXT_BYTES.  Returns the number of
// moves.
int path_coordinates(const i8* plansza, const i8* dr, char* c);

}  // namespace morvelak::m31
