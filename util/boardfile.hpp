// The starting-position file: 64 square letters (rank 8 first, a to h; a
// line feed does not count as a square, every other character does) in the
// Polish initials K P S G W H (White) and k p s g w h (Black), any other
// character an empty square; then four numbers, the four WYJ bytes.
#pragma once

#include <cstddef>

#include "engine/position/types.hpp"

namespace morvelak {

// The most of a board file that is read: far more than 64 squares and four
// numbers need, however they are spaced.
inline constexpr std::size_t BOARD_FILE_BYTES = 64 * 1024;

// Reads file `name` into the 64 playing squares of pl and the four bytes of
// wyj.  A file that ends early leaves the remaining squares empty and the
// missing numbers 0.  Only a regular file is read, and of it only the first
// BOARD_FILE_BYTES.  A file that cannot be opened or read, or whose board
// does not hold exactly one king of each colour, changes nothing, says why
// on standard error and returns false.
bool load(const char* name, i8* pl, i8* wyj);

// The same reader for a text held in memory (used by load and the tests).
void load_text(const char* text, i8* pl, i8* wyj);

// Piece code of a board-file letter (0 for anything else).
i8 code_of_letter(char c);

}  // namespace morvelak
