// Evaluation set-up: the game phase of each colour, the weights of White's
// phase and the piece-square tables of each colour's phase.
#include "engine/eval/m31/eval.hpp"
#include "engine/eval/phase.hpp"

namespace morvelak::m31 {

EvalState EVAL{};

namespace {

// One phase's weights.  slaby, bkwolna and ckwolna are the values that hold
// while the deciding side has a rook or a queen (see wstawstan).
struct Weights {
    int dubel, samotny, slaby, krycie;
    int wolny[8];
    int odlkrolwolny, odlkrolpion;
    int chronikrola1, chronikrola2;
    int blokadaswojego, blokadaobcego;
    int wwolnalinia, wiezazdwojenie, paragoncow;
    int odlkrolskoczek, odlkrolgoniec, odlkrolwieza, odlkrolhetman;
    int bkwolnalinia, ckwolnalinia;
};

// Opening, middle game, endgame.  Passed pawns grow in worth as the board
// empties, the king shelter matters less in the endgame, and the enemy king's
// distance to the pawns counts most when it has to catch them.
constexpr Weights COLUMN[3] = {
    {15, 20, 10, 3, {0, 0, 15, 18, 22, 27, 33, 40}, 0, 1, 10, 5, 3, 5, 5, 10, 5, 2, 2, 0, 3, 5, 5},
    {15, 20, 10, 3, {0, 0, 20, 23, 27, 32, 38, 45}, 1, 0, 10, 8, 4, 6, 10, 10, 10, 2, 1, 0, 3, 10, 10},
    {15, 20, 5, 3, {0, 0, 30, 34, 39, 45, 52, 60}, 2, 2, 5, 2, 8, 12, 10, 5, 15, 2, 1, 1, 4, 3, 3},
};

// Tables of one colour in one phase: pawn, knight, bishop, rook, queen, king.
struct Tables {
    const PieceSquare *pawn, *knight, *bishop, *rook, *queen, *king;
};
const Tables WHITE_TABLES[3] = {
    {&BPDEB, &SDEB, &GBDEB, &WBDEB, &HBDEB, &KBDEB},
    {&PBSROD, &SSRODB, &GSROD, &WBSROD, &HBSROD, &KBSROD},
    {&PBKONC, &SKONC, &GSROD, &WKONC, &HKONC, &KKONC},  // no endgame bishop table
};
const Tables BLACK_TABLES[3] = {
    {&CPDEB, &SDEB, &GCDEB, &WCDEB, &HCDEB, &KCDEB},
    {&PCSROD, &SSRODC, &GSROD, &WCSROD, &HCSROD, &KCSROD},
    {&PCKONC, &SKONC, &GSROD, &WKONC, &HKONC, &KKONC},
};

}  // namespace

void wstawstan(int R) {
    // m31's R counts plies: fewer than 12 is the opening for
    // both, more than 18 at least the middle game for both.
    const PhaseResult heavy = decide_phase(EVAL, R, 12, 18);

    // Every weight follows White's phase; Black's phase only picks its tables.
    const Weights& w = COLUMN[EVAL.STANB];
    EVAL.DUBEL = w.dubel;
    EVAL.SAMOTNY = w.samotny;
    // A weak isolated pawn is a real target only while White has a rook or a
    // queen to attack it down the open file; the opening keeps the penalty
    // regardless.  (White's pieces decide for both colours' pawns.)
    EVAL.SLABY = (EVAL.STANB == 0 || heavy.whiteHeavy) ? w.slaby : 0;
    EVAL.KRYCIE = w.krycie;
    for (int r = 0; r < 8; ++r) EVAL.WOLNY[r] = w.wolny[r];
    EVAL.ODLKROLWOLNY = w.odlkrolwolny;
    EVAL.ODLKROLPION = w.odlkrolpion;
    EVAL.CHRONIKROLA1 = w.chronikrola1;
    EVAL.CHRONIKROLA2 = w.chronikrola2;
    EVAL.BLOKADASWOJEGO = w.blokadaswojego;
    EVAL.BLOKADAOBCEGO = w.blokadaobcego;
    EVAL.WWOLNALINIA = w.wwolnalinia;
    EVAL.WIEZAZDWOJENIE = w.wiezazdwojenie;
    EVAL.PARAGONCOW = w.paragoncow;
    EVAL.ODLKROLSKOCZEK = w.odlkrolskoczek;
    EVAL.ODLKROLGONIEC = w.odlkrolgoniec;
    EVAL.ODLKROLWIEZA = w.odlkrolwieza;
    EVAL.ODLKROLHETMAN = w.odlkrolhetman;
    // An open file next to a king is dangerous only while the opponent has a
    // rook or a queen to use it.
    EVAL.BKWOLNALINIA = heavy.blackHeavy ? w.bkwolnalinia : 0;
    EVAL.CKWOLNALINIA = heavy.whiteHeavy ? w.ckwolnalinia : 0;

    const Tables& tb = WHITE_TABLES[EVAL.STANB];
    EVAL.OCPIONB = tb.pawn->data();
    EVAL.OCSKOCB = tb.knight->data();
    EVAL.OCGONCB = tb.bishop->data();
    EVAL.OCWIEZB = tb.rook->data();
    EVAL.OCHETMB = tb.queen->data();
    EVAL.OCKROLB = tb.king->data();
    const Tables& tc = BLACK_TABLES[EVAL.STANC];
    EVAL.OCPIONC = tc.pawn->data();
    EVAL.OCSKOCC = tc.knight->data();
    EVAL.OCGONCC = tc.bishop->data();
    EVAL.OCWIEZC = tc.rook->data();
    EVAL.OCHETMC = tc.queen->data();
    EVAL.OCKROLC = tc.king->data();
}

}  // namespace morvelak::m31
