// Between the engine's board bytes (10-wide, a1 = 11, piece codes) and the
// referee's 64 letters (a1 = 0, FEN letters).
#pragma once

#include <array>
#include <string>

#include "engine/position/types.hpp"
#include "tests/common/referee.hpp"

namespace morvelak::test::fuzz {

inline char letter_of(i8 code) {
    switch (code) {
    case W_KING: return 'K';
    case W_PAWN: return 'P';
    case W_KNIGHT: return 'N';
    case W_BISHOP: return 'B';
    case W_ROOK: return 'R';
    case W_QUEEN: return 'Q';
    case B_KING: return 'k';
    case B_PAWN: return 'p';
    case B_KNIGHT: return 'n';
    case B_BISHOP: return 'b';
    case B_ROOK: return 'r';
    case B_QUEEN: return 'q';
    default: return '.';
    }
}

inline i8 code_of(char c) {
    const std::string letters = "KPNBRQkpnbrq";
    const i8 codes[12] = {W_KING, W_PAWN, W_KNIGHT, W_BISHOP, W_ROOK, W_QUEEN,
                          B_KING, B_PAWN, B_KNIGHT, B_BISHOP, B_ROOK, B_QUEEN};
    const std::size_t k = letters.find(c);
    return k == std::string::npos ? EMPTY : codes[k];
}

// The 64 playing squares of an engine board as the referee keeps them.
inline std::array<char, 64> squares_of(const i8* pl) {
    std::array<char, 64> a;
    for (int r = 0; r < 8; ++r)
        for (int f = 0; f < 8; ++f) a[r * 8 + f] = letter_of(pl[10 * (r + 1) + f + 1]);
    return a;
}

// Writes the referee's board into the 64 playing squares of pl.
inline void set_board(const referee::Position& p, i8* pl) {
    for (int r = 0; r < 8; ++r)
        for (int f = 0; f < 8; ++f) pl[10 * (r + 1) + f + 1] = code_of(p.at(r * 8 + f));
}

// A FEN of an engine position: the board, the side to move, the castling
// rights of WYJ and the en-passant square the side to move may capture on.
inline std::string fen_of(const i8* pl, const i8* wyj, bool whiteToMove) {
    std::string s = referee::fen_placement(squares_of(pl));
    s += whiteToMove ? " w " : " b ";
    std::string rights;
    if (wyj[0] & 1) rights += 'K';
    if (wyj[0] & 2) rights += 'Q';
    if (wyj[1] & 1) rights += 'k';
    if (wyj[1] & 2) rights += 'q';
    s += rights.empty() ? "-" : rights;
    const int ep = whiteToMove ? wyj[3] : wyj[2];
    if (ep > 0) s += std::string(" ") + static_cast<char>('a' + ep % 10 - 1) + static_cast<char>('0' + ep / 10);
    else s += " -";
    return s + " 0 1";
}

}  // namespace morvelak::test::fuzz
