// Evaluation of m31: pawn structure (OCPION), piece placement (OCPOZ), and
// the set-up that picks the game phase, the weights and the piece-square
// tables once per move played (wstawstan).
//
// The static score of a position is
//     material balance + OCPION + OCPOZ,
// all from White's side, a pawn being worth 90.  OCPION runs first: besides
// its score it fills the two per-file arrays of most advanced pawns that
// OCPOZ reads.
//
// Everything the evaluation keeps is in one struct, EVAL: the phases and the
// mobility counts, the weights and the tables in force, and the pawn
// structures of recent placements.  The program has one; a test starts from
// a fresh one (EVAL = EvalState{}, then wstawstan).
#pragma once

#include <array>
#include <cstdint>

#include "engine/eval/pawnmasks.hpp"
#include "engine/eval/phase.hpp"
#include "engine/position/position.hpp"
#include "engine/position/types.hpp"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace morvelak::m31 {

// m31's material scale: a pawn is worth 90, a queen 900 in the capture values.
inline constexpr Scale SCALE{90, 900};

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

// ---------------------------------------------------------------------------
// The structure of one placement, as counts: each is White's count minus
// Black's, so that
//   score = table - ODLKROLPION x near + KRYCIE x protectedPawns
//           - DUBEL x doubled - SAMOTNY x isolated - SLABY x weak
//           + sum over r of WOLNY[r] x passed[r] - ODLKROLWOLNY x passedNear
// is exactly what the rules add up pawn by pawn (pawns.cpp).
// ---------------------------------------------------------------------------

struct alignas(64) Structure {
    // Key: the pawns, the kings and which tables were read.
    u64 white, black;
    u8 kw, kb;
    u8 tables;  // 0 = empty slot
    i8 protectedPawns;
    i8 doubled;    // pawns beyond the first on a file
    i8 isolated;   // files whose pawns have no neighbour of their colour
    i8 weak;       // isolated on a file without enemy pawns
    u8 passedRanks;  // bit r - 2 set where a passed pawn of either colour stands on rank r
    i8 passed[6];  // passed pawns by rank counted from their own side, 2..7
    std::int16_t table;       // piece-square values of the pawns
    std::int16_t near;        // closeness of the enemy king to every pawn
    std::int16_t passedNear;  // closeness of the enemy king to the passed pawns
    i8 pionb[8], pionc[8];
};

// A direct-mapped table, one slot per hash value, the newest placement
// evicting the one before it.  64 bytes a slot, 256 KB.
inline constexpr int STRUCTURE_BITS = 12;
inline constexpr int STRUCTURE_SLOTS = 1 << STRUCTURE_BITS;

// ---------------------------------------------------------------------------
// The evaluation's state.
//
//   STANB, STANC, ILOSCPOLB, ILOSCPOLC   phases and mobility (phase.hpp)
//   weights      set by wstawstan from White's phase STANB; constant during
//                a search
//   OCxxxxB/C    the piece-square tables in force, one per piece kind and
//                colour, pointed by wstawstan at the tables of that colour's
//                phase (until the first wstawstan, at the opening tables)
//   STRUCTURES   the pawn structures of recent placements, and which pawn
//                tables the last call found in force (pawns.cpp)
// ---------------------------------------------------------------------------

struct EvalState : Phase {
    // Pawn structure (OCPION).
    int DUBEL = 0;         // per extra pawn of one colour on a file
    int SAMOTNY = 0;       // isolated pawn (once per file)
    int SLABY = 0;         // isolated pawn on a file without enemy pawns, extra
    int KRYCIE = 0;        // pawn protected by an own pawn
    int WOLNY[8] = {};     // passed pawn by its rank counted from its own side
    int ODLKROLWOLNY = 0;  // x closeness of the enemy king to a passed pawn
    int ODLKROLPION = 0;   // x closeness of the enemy king to each pawn

    // Piece placement (OCPOZ).
    int CHRONIKROLA1 = 0;    // own pawn beside or just in front of the king
    int CHRONIKROLA2 = 0;    // own pawn two ranks in front of the king
    int BLOKADASWOJEGO = 0;  // piece standing in front of an own pawn
    int BLOKADAOBCEGO = 0;   // piece standing in front of an enemy pawn
    int WWOLNALINIA = 0;     // rook on a file without own pawns
    int WIEZAZDWOJENIE = 0;  // rook on the file of the rook visited before it
    int PARAGONCOW = 0;      // each bishop after the first
    int ODLKROLSKOCZEK = 0;  // x closeness of a knight to the enemy king
    int ODLKROLGONIEC = 0;   // ... of a bishop
    int ODLKROLWIEZA = 0;    // ... of a rook
    int ODLKROLHETMAN = 0;   // ... of a queen
    int BKWOLNALINIA = 0;    // white king, per side (White, Black) without a pawn on its file
    int CKWOLNALINIA = 0;    // black king, the same

    const i8* OCPIONB = BPDEB.data();
    const i8* OCSKOCB = SDEB.data();
    const i8* OCGONCB = GBDEB.data();
    const i8* OCWIEZB = WBDEB.data();
    const i8* OCHETMB = HBDEB.data();
    const i8* OCKROLB = KBDEB.data();
    const i8* OCPIONC = CPDEB.data();
    const i8* OCSKOCC = SDEB.data();
    const i8* OCGONCC = GCDEB.data();
    const i8* OCWIEZC = WCDEB.data();
    const i8* OCHETMC = HCDEB.data();
    const i8* OCKROLC = KCDEB.data();

    Structure STRUCTURES[STRUCTURE_SLOTS] = {};
    // The pawn tables in force at the last call and their number (0: one is
    // not the engine's own), worked out again only when a pointer changes.
    const i8* pawnTableB = nullptr;
    const i8* pawnTableC = nullptr;
    int pawnTables = 0;
};

extern EvalState EVAL;

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
// from BP / CP.  Keeps the structure of recent placements in EVAL; its score
// depends on the board and the weights alone.
int OCPION(const i8* pl, i8* pionb, i8* pionc);

// A position's pawn structure as the search hands it from a node to its
// children: OCPION's score and pawn arrays, and the pawn masks they were
// read from.
struct PawnStructure {
    int score;
    i8 pionb[8], pionc[8];
    PawnMasks masks;
};

// OCPION of board pl, into p with the masks.
void pawn_structure(const i8* pl, PawnStructure& p);

// The structure after a pawn of side S stepped straight ahead from `from` to
// `to` (one or two squares, onto neither the last rank nor a piece), worked
// out from the structure before the step without reading the board: only
// the kings' squares are read, from POS.  Returns false, leaving `after` as
// it was, for a board with a pawn on the first or last rank (call OCPION).
template <Side S>
bool pawn_step(const PawnStructure& before, int from, int to, PawnStructure& after);

// The structure after side S's king stepped from `from` to `to`, taking no
// pawn, worked out from the structure before it.
template <Side S>
void king_step(const PawnStructure& before, int from, int to, PawnStructure& after);

// Whether the move side S just made to `to`, with undo record zap, was such
// a step: a pawn moving straight ahead onto an empty square short of the
// last rank (castling has a negative destination and moves the king).
template <Side S>
inline bool pawn_steps(const i8* zap, int to) {
    using O = Own<S>;
    return zap[0] == O::pawn && zap[2] == 0 && (to - zap[1]) % 10 == 0 && to / 10 != O::lastRank;
}

// Placement of every piece but the pawns, plus mobility, from White's side.
// pionb / pionc must be those OCPION just filled for the same board.
int OCPOZ(const i8* pl, const i8* bp, const i8* cp, const i8* pionb, const i8* pionc);

// The mobility part of OCPOZ: what it adds for the current mobility counts
// on top of the pieces' placement (the full move count in the middle game,
// half of it in the endgame, none in the opening).
inline int mobility_balance() {
    auto mobility = [](int phase, int moves) { return phase == 1 ? moves : phase == 2 ? moves / 2 : 0; };
    return mobility(EVAL.STANB, EVAL.ILOSCPOLB) - mobility(EVAL.STANC, EVAL.ILOSCPOLC);
}

// OCPOZ kept up to date by the move instead of worked out afresh.  Called on
// POS just after side S made move (nr, x2) with undo record zap: for the moves
// placement_follows takes, writes to change by how much the placement part of
// OCPOZ (everything but the mobility) differs from the one before the move,
// both read with the same pawn arrays pionb / pionc, and returns true.  Any
// other move returns false: score that one in full.
template <Side S>
bool placement_change(const i8* zap, int nr, int x2, const i8* pionb, const i8* pionc, int& change);

// The moves whose placement change is worked out from the move: a king,
// knight, bishop, rook or queen moving (castling aside), taking nothing or a
// piece that is no pawn; and a pawn's step or double step that takes nothing
// and does not promote.  Such a step leaves a pawn on every file that had
// one, so that the open files read the same; it changes only the blockade of
// the piece it now stands in front of and the shelter of its own king.  A
// pawn taken or taking, en passant, promotion and castling are scored in
// full.  `taken` is what stood on the destination (0 when empty).
template <Side S>
inline bool placement_follows(i8 mover, int from, int to, i8 taken) {
    using O = Own<S>;
    using E = Own<Opp<S>>;
    if (to < 0 || taken == E::pawn || taken == E::king) return false;
    if (mover != O::pawn) return true;
    return taken == 0 && (to - from) % 10 == 0 && to / 10 != O::lastRank;
}

// The file presence of a pair of pawn arrays: bit f for a White pawn on file
// f, bit 8 + f for a Black one.  OCPOZ reads the arrays for nothing else, so
// two pairs with the same presence give every position the same placement.
// The search asks it twice for every pawn move two plies above the leaves,
// so with SSE2 the sixteen bytes are tested at once.
inline unsigned file_presence(const i8* pionb, const i8* pionc) {
#if defined(__SSE2__)
    const __m128i both = _mm_unpacklo_epi64(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(pionb)),
                                            _mm_loadl_epi64(reinterpret_cast<const __m128i*>(pionc)));
    const unsigned empty =
        static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(both, _mm_setzero_si128())));
    return ~empty & 0xFFFFu;
#else
    unsigned m = 0;
    for (int f = 0; f < 8; ++f) m |= unsigned{pionb[f] != 0} << f | unsigned{pionc[f] != 0} << (8 + f);
    return m;
#endif
}

}  // namespace morvelak::m31
