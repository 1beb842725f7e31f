#include "engine/position/boardfile.hpp"

#include "engine/position/geometry.hpp"

namespace morvelak {

i8 code_of_letter(char c) {
    switch (c) {
    case 'K': return W_KING;
    case 'P': return W_PAWN;
    case 'S': return W_KNIGHT;
    case 'G': return W_BISHOP;
    case 'W': return W_ROOK;
    case 'H': return W_QUEEN;
    case 'k': return B_KING;
    case 'p': return B_PAWN;
    case 's': return B_KNIGHT;
    case 'g': return B_BISHOP;
    case 'w': return B_ROOK;
    case 'h': return B_QUEEN;
    default: return EMPTY;
    }
}

void place_board(const BoardText& text, i8* pl, i8* wyj) {
    for (int n = 0; n < 64; ++n) pl[TAB[n]] = code_of_letter(text.squares[n]);
    for (int k = 0; k < 4; ++k) wyj[k] = static_cast<i8>(text.numbers[k]);
}

bool load(const char* name, i8* pl, i8* wyj) {
    BoardText text;
    if (!read_board_file(name, text)) return false;
    place_board(text, pl, wyj);
    return true;
}

void load_text(const char* text, i8* pl, i8* wyj) {
    BoardText read;
    read_board_text(text, read);
    place_board(read, pl, wyj);
}

}  // namespace morvelak
