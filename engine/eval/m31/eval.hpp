// Evaluation of the newest build: pawn structure (OCPION), piece placement
// (OCPOZ), and the set-up that picks the game phase, the weights and the
// piece-square tables once per move played (wstawstan).
//
// The static score of a position is
//     material balance + OCPION + OCPOZ,
// all from White's side, a pawn being worth 90.  OCPION runs first: besides
// its score it fills the two per-file arrays of most advanced pawns that
// OCPOZ reads.
#pragma once

#include <array>

#include "engine/position/types.hpp"

namespace morvelak::m31 {

// ---------------------------------------------------------------------------
// Weights.  Set by wstawstan from White's phase STANB; constant during a
// search.
// ---------------------------------------------------------------------------

// Pawn structure (OCPION).
extern int DUBEL;         // per extra pawn of one colour on a file
extern int SAMOTNY;       // isolated pawn (once per file)
extern int SLABY;         // isolated pawn on a file without enemy pawns, extra
extern int KRYCIE;        // pawn protected by an own pawn
extern int WOLNY[8];      // passed pawn by its rank counted from its own side
extern int ODLKROLWOLNY;  // x closeness of the enemy king to a passed pawn
extern int ODLKROLPION;   // x closeness of the enemy king to each pawn

// Piece placement (OCPOZ).
extern int CHRONIKROLA1;    // own pawn beside or just in front of the king
extern int CHRONIKROLA2;    // own pawn two ranks in front of the king
extern int BLOKADASWOJEGO;  // piece standing in front of an own pawn
extern int BLOKADAOBCEGO;   // piece standing in front of an enemy pawn
extern int WWOLNALINIA;     // rook on a file without own pawns
extern int WIEZAZDWOJENIE;  // rook on the file of the rook visited before it
extern int PARAGONCOW;      // each bishop after the first
extern int ODLKROLSKOCZEK;  // x closeness of a knight to the enemy king
extern int ODLKROLGONIEC;   // ... of a bishop
extern int ODLKROLWIEZA;    // ... of a rook
extern int ODLKROLHETMAN;   // ... of a queen
extern int BKWOLNALINIA;    // white king, per side (White, Black) without a pawn on its file
extern int CKWOLNALINIA;    // black king, the same

// ---------------------------------------------------------------------------
// Piece-square tables: 100 values indexed by square (border entries 0), in
// points.  A Black table is written from Black's point of view (positive is
// good for Black) and read at the same square number: nothing is mirrored
// when it is looked up.  Names: piece letter (P pawn, S knight, G bishop,
// W rook, H queen, K king), colour letter B / C where the colours differ,
// phase DEB (opening), SROD (middle game), KONC (endgame).
// ---------------------------------------------------------------------------

using PieceSquare = std::array<i8, 100>;

extern const PieceSquare BPDEB, CPDEB, PBSROD, PCSROD, PBKONC, PCKONC;
extern const PieceSquare SDEB, SSRODB, SSRODC, SKONC;
extern const PieceSquare GBDEB, GCDEB, GSROD;  // GSROD serves the endgame too
extern const PieceSquare WBDEB, WCDEB, WBSROD, WCSROD, WKONC;
extern const PieceSquare HBDEB, HCDEB, HBSROD, HCSROD, HKONC;
extern const PieceSquare KBDEB, KCDEB, KBSROD, KCSROD, KKONC;

// The tables in force, one per piece kind and colour, pointed by wstawstan at
// the tables of that colour's phase.
extern const i8* OCPIONB;
extern const i8* OCSKOCB;
extern const i8* OCGONCB;
extern const i8* OCWIEZB;
extern const i8* OCHETMB;
extern const i8* OCKROLB;
extern const i8* OCPIONC;
extern const i8* OCSKOCC;
extern const i8* OCGONCC;
extern const i8* OCWIEZC;
extern const i8* OCHETMC;
extern const i8* OCKROLC;

// ---------------------------------------------------------------------------
// Routines.
// ---------------------------------------------------------------------------

// Sets STANB / STANC from the plies played R, the board PL and WART, then the
// weights of White's phase and the twelve table pointers.  Called by the
// driver before every rebuild of the position, never inside a search.
void wstawstan(int R);

// Pawn structure of board pl from White's side.  Writes all eight bytes of
// pionb (square of White's highest pawn on each file a..h, 0 = none) and of
// pionc (square of Black's lowest pawn on each file).  Reads the king squares
// from BP / CP.  Keeps the structure of recent placements in a fixed private
// table; changes no engine state.
int OCPION(const i8* pl, i8* pionb, i8* pionc);

// Placement of every piece but the pawns, plus mobility, from White's side.
// pionb / pionc must be those OCPION just filled for the same board.
int OCPOZ(const i8* pl, const i8* bp, const i8* cp, const i8* pionb, const i8* pionc);

}  // namespace morvelak::m31
