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

#include <cstdint>

#include "engine/eval/older/tables.hpp"
#include "engine/eval/pawnking.hpp"
#include "engine/eval/pawnmasks.hpp"
#include "engine/eval/phase.hpp"
#include "engine/position/position.hpp"
#include "engine/position/types.hpp"

namespace morvelak::older {

// The pawns' part of the evaluation of one placement, with both phases and
// the build's tables (eval.cpp tells how it is worked out).
// The members are ordered largest first so that a slot fills one cache line.
struct alignas(64) PawnSection {
    // Key: the pawns, below the kings and the setting.
    u64 white, black;
    // Pawns that are backward if an enemy piece stands in front of them.
    u64 askW, askB;
    std::int16_t valueW, valueB;  // each colour's pawn terms, its own phase
    i8 pionb[10], pionc[10];
    u8 kw, kb;   // the kings while a colour is in the middle game, else 0
    u8 setting;  // 0 = empty slot; else build and both phases
    // Pawns of each colour on the board, to check the lists against.
    u8 countW, countB;
};
static_assert(sizeof(PawnSection) == 64, "a pawn section fills one cache line");

// A direct-mapped table of them, one slot per hash value, the newest
// placement evicting the one before it.
inline constexpr int PAWN_SECTION_BITS = 12;

// The pieces' fixed terms (those read from a piece's own square, the pawns
// and the kings; eval.cpp tells which) summed over each colour's list, for
// the lists last scored with the pawn section of the same slot, kept with
// those lists as they stood.  A later call with that section compares its
// lists with these and rescores only the entries that differ: between two
// moves of one node that is the piece that moved and the one taken.  It is
// forgotten when its slot's section gives way to another placement.
struct alignas(64) PieceMemo {
    // First cache line: the lists as they stood.
    i8 listW[2 * LIST_ENTRIES];
    i8 listB[2 * LIST_ENTRIES];
    // Second: each entry's fixed terms (0 for pawns and holes), and their
    // sums.  A piece's fixed terms are its table's value and at most 25
    // more or 5 less for the pawns, the files and the kings; with tables
    // within -100..100 (a test holds them there) a byte keeps one, and a
    // 16-bit word the sum of sixteen.
    i8 termsW[LIST_ENTRIES], termsB[LIST_ENTRIES];
    std::int16_t sumW, sumB;
    u8 nb, nc;       // entries in use in each list
    bool valid;      // filled since its section was worked out
};
static_assert(sizeof(PieceMemo) == 128, "a piece memo fills two cache lines");

// Everything the older builds' evaluation keeps, in one struct, EVAL: the
// phases and the mobility counts (phase.hpp), the pawn sections of recent
// placements, the pieces' fixed terms scored with each and the endgame's
// closeness of pawns to their king.  The program has
// one; a test starts from a fresh one (EVAL = EvalState{}, then wstawstan).
struct EvalState : Phase {
    PawnSection PAWN_SECTIONS[1 << PAWN_SECTION_BITS] = {};
    PieceMemo PIECE_MEMOS[1 << PAWN_SECTION_BITS] = {};
    // In the endgame, each colour's pawns' closeness to their own king
    // (8 - ODLKROL): the one pawn term the sections leave out.
    PawnKingSums CLOSENESS;
};

extern EvalState EVAL;

// 1 when no pawn of either colour stands on file c (1 = a .. 8 = h) on ranks
// 1 to 7, else 0.
int otwartalinia(const i8* pl, int c);

// Decides STANB and STANC for the older builds, whose game counter R counts
// full moves: before move 6 both colours are in the opening, after move 11
// both in the middle game, in between each by its undeveloped minor pieces;
// little material left puts both in the endgame.
void wstawstan(int R);

}  // namespace morvelak::older

// The evaluation of each older build: the shared routine compiled for its
// tables; and each build's material scale (a pawn 100, a queen 900 in m28's
// capture values and 800 in m26's).  OCPOZ reads the board, the two lists
// (ILB / ILC entries, king entries KROLB / KROLC), STANB / STANC, ILOSCPOLB /
// ILOSCPOLC and ODLKROL; it changes nothing but the pawn sections of recent
// placements and the pieces' fixed terms kept with them in EVAL, which never
// change a score.  No allocation.
namespace morvelak::m28 {
inline constexpr Scale SCALE{100, 900};
int OCPOZ(const i8* pl, const i8* bp, const i8* cp);
}  // namespace morvelak::m28

namespace morvelak::m26 {
inline constexpr Scale SCALE{100, 800};
int OCPOZ(const i8* pl, const i8* bp, const i8* cp);
}  // namespace morvelak::m26
