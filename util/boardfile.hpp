// The starting-position file as the text it is: 64 square characters (rank
// 8 first, a to h; a line feed does not count as a square, every other
// character does), then four decimal numbers.  What a square character means
// (the Polish initials K P S G W H of White's pieces, k p s g w h of Black's,
// anything else an empty square) is the position's business
// (engine/position/boardfile.hpp); here only the two kings' letters are
// known, because a file without exactly one of each is refused.
#pragma once

#include <cstddef>
#include <cstdint>

namespace morvelak {

// The most of a board file that is read: far more than 64 squares and four
// numbers need, however they are spaced.
inline constexpr std::size_t BOARD_FILE_BYTES = 64 * 1024;

struct BoardText {
    char squares[64];           // rank 8 first, a to h within a rank
    std::uint8_t numbers[4];    // each number's low eight bits
};

// The character that stands for a square the file leaves out.
inline constexpr char NO_SQUARE = '.';

// Reads file `name`.  A file that ends early leaves the remaining squares
// NO_SQUARE and the missing numbers 0.  Only a regular file is read, and of
// it only the first BOARD_FILE_BYTES.  A file that cannot be opened or read,
// or whose squares do not hold exactly one "K" and one "k", leaves `out`
// alone, says why on standard error and returns false.
bool read_board_file(const char* name, BoardText& out);

// The same reading of a text held in memory (a carriage return there counts
// as a square: text-mode reading is the file reader's).
void read_board_text(const char* text, BoardText& out);

}  // namespace morvelak
