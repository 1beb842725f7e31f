// The board file's squares as a position: each square character becomes a
// piece code, and the four numbers the four WYJ bytes.  The file's text
// format is read by util/boardfile.hpp; its letters are the Polish initials
// of the pieces:
//
//   K P S G W H   White's king, pawn, knight (skoczek), bishop (goniec),
//                 rook (wieza), queen (hetman)
//   k p s g w h   Black's
//   anything else an empty square
#pragma once

#include "engine/position/types.hpp"
#include "util/boardfile.hpp"

namespace morvelak {

// Piece code of a board-file letter (EMPTY for anything else).
i8 code_of_letter(char c);

// Writes the 64 playing squares of pl (in TAB order) and the four bytes of
// wyj from the text read; the border squares are not touched.
void place_board(const BoardText& text, i8* pl, i8* wyj);

// Reads file `name` into the playing squares of pl and into wyj.  A file
// that cannot be opened, or whose board does not hold exactly one king of
// each colour, changes nothing, prints a message on standard error and
// returns false.
bool load(const char* name, i8* pl, i8* wyj);

// The same for a board-file text held in memory.
void load_text(const char* text, i8* pl, i8* wyj);

}  // namespace morvelak
