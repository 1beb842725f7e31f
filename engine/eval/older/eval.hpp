// Positional evaluation of the older builds (m28 and m26).
//
// One routine scores everything but material: piece-square values of the
// phase each colour is in, pawn structure (doubled, isolated, backward,
// protected and passed pawns), king shelter and open files, closeness to the
// kings, pieces in contact with pawns, rook and queen files, and mobility.
// Its amounts are fixed numbers; the two builds run the same routine and
// differ only in their piece-square tables.  The score is from White's side
// and goes on the scale of the material count (a pawn is worth 100).
#pragma once

#include "engine/eval/older/tables.hpp"
#include "engine/position/types.hpp"

namespace morvelak::older {

// 1 when no pawn of either colour stands on file c (1 = a .. 8 = h) on ranks
// 1 to 7, else 0.
int otwartalinia(const i8* pl, int c);

// The shared evaluation with the tables of one build.  Reads the board, the
// two lists (ILB / ILC entries, king entries KROLB / KROLC), STANB / STANC,
// ILOSCPOLB / ILOSCPOLC and ODLKROL; changes no engine state (it keeps the
// pawns' part of recent placements in a fixed private table).  No allocation.
int ocpoz_with(const TableSet& tables, const i8* pl, const i8* bp, const i8* cp);

// Decides STANB and STANC for the older builds, whose game counter R counts
// full moves: before move 6 both colours are in the opening, after move 11
// both in the middle game, in between each by its undeveloped minor pieces;
// little material left puts both in the endgame.
void wstawstan(int R);

}  // namespace morvelak::older

// The evaluation of each older build: the shared routine with its tables.
namespace morvelak::m28 {
int OCPOZ(const i8* pl, const i8* bp, const i8* cp);
}  // namespace morvelak::m28

namespace morvelak::m26 {
int OCPOZ(const i8* pl, const i8* bp, const i8* cp);
}  // namespace morvelak::m26
