// The settings the evaluation tests score a position under: the weights and
// tables the set-up picks for a game some plies old, random weights with the
// engine's tables of random phases, and random weights with tables made up
// for the test.
#pragma once

#include <random>

#include "driver/history.hpp"
#include "tests/eval_m31/board.hpp"

namespace morvelak::test {

inline const PieceSquare* const WHITE_PAWNS[3] = {&BPDEB, &PBSROD, &PBKONC};
inline const PieceSquare* const BLACK_PAWNS[3] = {&CPDEB, &PCSROD, &PCKONC};
inline const PieceSquare* const WHITE_PIECES[3][5] = {
    {&SDEB, &GBDEB, &WBDEB, &HBDEB, &KBDEB},
    {&SSRODB, &GSROD, &WBSROD, &HBSROD, &KBSROD},
    {&SKONC, &GSROD, &WKONC, &HKONC, &KKONC},
};
inline const PieceSquare* const BLACK_PIECES[3][5] = {
    {&SDEB, &GCDEB, &WCDEB, &HCDEB, &KCDEB},
    {&SSRODC, &GSROD, &WCSROD, &HCSROD, &KCSROD},
    {&SKONC, &GSROD, &WKONC, &HKONC, &KKONC},
};

// The tables of setting 2, rewritten now and then.
inline PieceSquare madeUp[12];

inline void random_weights(std::mt19937& rng) {
    auto w = [&] { return std::uniform_int_distribution<int>(-40, 60)(rng); };
    EVAL.DUBEL = w(); EVAL.SAMOTNY = w(); EVAL.SLABY = w(); EVAL.KRYCIE = w();
    for (int& x : EVAL.WOLNY) x = w();
    EVAL.ODLKROLWOLNY = w(); EVAL.ODLKROLPION = w();
    EVAL.CHRONIKROLA1 = w(); EVAL.CHRONIKROLA2 = w(); EVAL.BLOKADASWOJEGO = w(); EVAL.BLOKADAOBCEGO = w();
    EVAL.WWOLNALINIA = w(); EVAL.WIEZAZDWOJENIE = w(); EVAL.PARAGONCOW = w();
    EVAL.ODLKROLSKOCZEK = w(); EVAL.ODLKROLGONIEC = w(); EVAL.ODLKROLWIEZA = w(); EVAL.ODLKROLHETMAN = w();
    EVAL.BKWOLNALINIA = w(); EVAL.CKWOLNALINIA = w();
    EVAL.ILOSCPOLB = std::uniform_int_distribution<int>(0, 60)(rng);
    EVAL.ILOSCPOLC = std::uniform_int_distribution<int>(0, 60)(rng);
}

// Setting 0: the set-up of a game some plies old.  1: random weights, the
// engine's tables of random phases.  2: random weights and made-up tables.
inline void choose_setting(std::mt19937& rng, int setting) {
    if (setting == 0) {
        GAME.R = std::uniform_int_distribution<int>(0, 40)(rng);
        wstawstan(GAME.R);
        EVAL.ILOSCPOLB = std::uniform_int_distribution<int>(0, 60)(rng);
        EVAL.ILOSCPOLC = std::uniform_int_distribution<int>(0, 60)(rng);
        return;
    }
    random_weights(rng);
    EVAL.STANB = static_cast<i8>(rng() % 3);
    EVAL.STANC = static_cast<i8>(rng() % 3);
    const i8** white[6] = {&EVAL.OCSKOCB, &EVAL.OCGONCB, &EVAL.OCWIEZB, &EVAL.OCHETMB, &EVAL.OCKROLB, &EVAL.OCPIONB};
    const i8** black[6] = {&EVAL.OCSKOCC, &EVAL.OCGONCC, &EVAL.OCWIEZC, &EVAL.OCHETMC, &EVAL.OCKROLC, &EVAL.OCPIONC};
    if (setting == 1) {
        for (int k = 0; k < 5; ++k) {
            *white[k] = WHITE_PIECES[EVAL.STANB][k]->data();
            *black[k] = BLACK_PIECES[EVAL.STANC][k]->data();
        }
        EVAL.OCPIONB = WHITE_PAWNS[EVAL.STANB]->data();
        EVAL.OCPIONC = BLACK_PAWNS[EVAL.STANC]->data();
        return;
    }
    if (rng() % 4 == 0) {
        for (PieceSquare& t : madeUp)
            for (i8& v : t) v = static_cast<i8>(std::uniform_int_distribution<int>(-60, 60)(rng));
    }
    for (int k = 0; k < 6; ++k) {
        *white[k] = madeUp[k].data();
        *black[k] = madeUp[6 + k].data();
    }
}

}  // namespace morvelak::test
