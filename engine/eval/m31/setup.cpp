// Evaluation set-up: the game phase of each colour, the weights of White's
// phase and the piece-square tables of each colour's phase.
#include "engine/eval/m31/eval.hpp"
#include "engine/eval/phase.hpp"

namespace morvelak::m31 {

int DUBEL, SAMOTNY, SLABY, KRYCIE;
int WOLNY[8];
int ODLKROLWOLNY, ODLKROLPION;
int CHRONIKROLA1, CHRONIKROLA2;
int BLOKADASWOJEGO, BLOKADAOBCEGO;
int WWOLNALINIA, WIEZAZDWOJENIE, PARAGONCOW;
int ODLKROLSKOCZEK, ODLKROLGONIEC, ODLKROLWIEZA, ODLKROLHETMAN;
int BKWOLNALINIA, CKWOLNALINIA;

// Until the first wstawstan the pointers stand at the opening tables, so an
// evaluation never reads through a null pointer.
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
    // The newest build's R counts plies: fewer than 12 is the opening for
    // both, more than 18 at least the middle game for both.
    const PhaseResult heavy = decide_phase(R, 12, 18);

    // Every weight follows White's phase; Black's phase only picks its tables.
    const Weights& w = COLUMN[STANB];
    DUBEL = w.dubel;
    SAMOTNY = w.samotny;
    // A weak isolated pawn is a real target only while White has a rook or a
    // queen to attack it down the open file; the opening keeps the penalty
    // regardless.  (White's pieces decide for both colours' pawns.)
    SLABY = (STANB == 0 || heavy.whiteHeavy) ? w.slaby : 0;
    KRYCIE = w.krycie;
    for (int r = 0; r < 8; ++r) WOLNY[r] = w.wolny[r];
    ODLKROLWOLNY = w.odlkrolwolny;
    ODLKROLPION = w.odlkrolpion;
    CHRONIKROLA1 = w.chronikrola1;
    CHRONIKROLA2 = w.chronikrola2;
    BLOKADASWOJEGO = w.blokadaswojego;
    BLOKADAOBCEGO = w.blokadaobcego;
    WWOLNALINIA = w.wwolnalinia;
    WIEZAZDWOJENIE = w.wiezazdwojenie;
    PARAGONCOW = w.paragoncow;
    ODLKROLSKOCZEK = w.odlkrolskoczek;
    ODLKROLGONIEC = w.odlkrolgoniec;
    ODLKROLWIEZA = w.odlkrolwieza;
    ODLKROLHETMAN = w.odlkrolhetman;
    // An open file next to a king is dangerous only while the opponent has a
    // rook or a queen to use it.
    BKWOLNALINIA = heavy.blackHeavy ? w.bkwolnalinia : 0;
    CKWOLNALINIA = heavy.whiteHeavy ? w.ckwolnalinia : 0;

    const Tables& tb = WHITE_TABLES[STANB];
    OCPIONB = tb.pawn->data();
    OCSKOCB = tb.knight->data();
    OCGONCB = tb.bishop->data();
    OCWIEZB = tb.rook->data();
    OCHETMB = tb.queen->data();
    OCKROLB = tb.king->data();
    const Tables& tc = BLACK_TABLES[STANC];
    OCPIONC = tc.pawn->data();
    OCSKOCC = tc.knight->data();
    OCGONCC = tc.bishop->data();
    OCWIEZC = tc.rook->data();
    OCHETMC = tc.queen->data();
    OCKROLC = tc.king->data();
}

}  // namespace morvelak::m31
