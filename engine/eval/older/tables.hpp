// Piece-square tables of the older evaluation (builds m28 and m26).
//
// A table holds one value per square number, 100 entries with the border at
// 0, and is read at the piece's own square.  Black's tables are written from
// Black's side (a positive entry is good for Black), so nothing is mirrored
// when a table is read.  Names: piece letter (P pawn, S knight, G bishop,
// W rook, H queen, K king), colour letter (B White, C Black) where a table is
// not shared, and the phase DEB (opening), SROD (middle game), KONC (endgame).
//
// The two builds run one evaluation routine and differ only in these values:
// m26 has one knight table SSROD for both colours in the middle game and the
// endgame, and its own opening knight table and middle-game bishop, rook and
// queen tables.  Every table the builds share is one object (m26 names it
// through a using-declaration).
#pragma once

#include <array>

#include "engine/position/types.hpp"

namespace morvelak::older {

using Table = std::array<i8, 100>;

// Builds a table from its 64 values in the order of a printed board: rank 8
// first, files a to h within a rank.  The border stays 0.
constexpr Table printed_board(const std::array<i8, 64>& printed) {
    Table t{};
    for (int i = 0; i < 64; ++i) t[10 * (8 - i / 8) + i % 8 + 1] = printed[i];
    return t;
}

// The six tables one colour reads in one phase.
struct PhaseTables {
    const i8* pawn;
    const i8* knight;
    const i8* bishop;
    const i8* rook;
    const i8* queen;
    const i8* king;
};

// Everything a build's evaluation reads besides the board: by colour, then
// by phase (0 opening, 1 middle game, 2 endgame).
struct TableSet {
    PhaseTables white[3];
    PhaseTables black[3];
};

}  // namespace morvelak::older

namespace morvelak::m28 {
using older::Table;
using older::TableSet;
extern const Table BPDEB, CPDEB, SDEB, GBDEB, GCDEB, WBDEB, WCDEB, HBDEB, HCDEB, KBDEB, KCDEB;
extern const Table PBSROD, PCSROD, SSRODB, SSRODC, GSROD, WBSROD, WCSROD, HBSROD, HCSROD,
    KBSROD, KCSROD;
extern const Table PBKONC, PCKONC, SKONC, WKONC, HKONC, KKONC;
extern const TableSet TABLES;
}  // namespace morvelak::m28

namespace morvelak::m26 {
using older::Table;
using older::TableSet;
// Shared with m28.
using m28::BPDEB;
using m28::CPDEB;
using m28::GBDEB;
using m28::GCDEB;
using m28::WBDEB;
using m28::WCDEB;
using m28::HBDEB;
using m28::HCDEB;
using m28::KBDEB;
using m28::KCDEB;
using m28::PBSROD;
using m28::PCSROD;
using m28::KBSROD;
using m28::KCSROD;
using m28::PBKONC;
using m28::PCKONC;
using m28::WKONC;
using m28::HKONC;
using m28::KKONC;
// Its own.  SSROD holds the same values as m28's endgame knight table.
extern const Table SDEB, SSROD, GSROD, WBSROD, WCSROD, HBSROD, HCSROD;
extern const TableSet TABLES;
}  // namespace morvelak::m26
