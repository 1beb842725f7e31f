// m31's evaluation written the plain way, rule by rule, square
// by square: the yardstick the engine's fast routines are compared against.
// Nothing here is clever; every term is read off the board exactly where the
// rule says, and squares outside the board array read as border.
#pragma once

#include "engine/eval/m31/eval.hpp"
#include "engine/eval/phase.hpp"
#include "engine/position/position.hpp"

namespace morvelak::test::ref {

using namespace morvelak::m31;

inline int at(const i8* pl, int s) { return s >= 0 && s < 100 ? pl[s] : BORDER; }
inline int rank(int s) { return s / 10; }

// Pawn structure.  The king squares come from the lists' king entries.
inline int ocpion(const i8* pl, i8* pionb, i8* pionc) {
    for (int f = 0; f < 8; ++f) pionb[f] = pionc[f] = 0;
    const int kw = POS.BP[2 * POS.KROLB + 1];
    const int kb = POS.CP[2 * POS.KROLC + 1];
    int score = 0;
    for (int f = 0; f < 8; ++f) {
        for (int r = 2; r <= 7; ++r) {
            const int s = 10 * r + f + 1;
            if (pl[s] == W_PAWN) {
                score -= ODL[s][kb] * EVAL.ODLKROLPION;
                score += EVAL.OCPIONB[s];
                if (pl[s - 11] == W_PAWN || pl[s - 9] == W_PAWN) score += EVAL.KRYCIE;
                if (pionb[f] != 0) score -= EVAL.DUBEL;
                pionb[f] = static_cast<i8>(s);
            }
            if (pl[s] == B_PAWN) {
                score += ODL[s][kw] * EVAL.ODLKROLPION;
                score -= EVAL.OCPIONC[s];
                if (pl[s + 11] == B_PAWN || pl[s + 9] == B_PAWN) score -= EVAL.KRYCIE;
                if (pionc[f] != 0) score += EVAL.DUBEL;
                else pionc[f] = static_cast<i8>(s);
            }
        }
    }
    for (int f = 0; f < 8; ++f) {
        const int w = pionb[f];
        if (w == 0) continue;
        const bool left = f > 0 && pionb[f - 1] != 0;
        const bool right = f < 7 && pionb[f + 1] != 0;
        if (!left && !right) {
            score -= EVAL.SAMOTNY;
            if (pionc[f] == 0) score -= EVAL.SLABY;
        }
        bool passed = pionc[f] == 0;
        if (f > 0 && pionc[f - 1] != 0 && rank(pionc[f - 1]) > rank(w)) passed = false;
        if (f < 7 && pionc[f + 1] != 0 && rank(pionc[f + 1]) > rank(w)) passed = false;
        if (passed) {
            score -= ODL[kb][w] * EVAL.ODLKROLWOLNY;
            score += EVAL.WOLNY[rank(w)];
        }
    }
    for (int f = 0; f < 8; ++f) {
        const int b = pionc[f];
        if (b == 0) continue;
        const bool left = f > 0 && pionc[f - 1] != 0;
        const bool right = f < 7 && pionc[f + 1] != 0;
        if (!left && !right) {
            score += EVAL.SAMOTNY;
            if (pionb[f] == 0) score += EVAL.SLABY;
        }
        bool passed = pionb[f] == 0;
        if (f > 0 && pionb[f - 1] != 0 && rank(pionb[f - 1]) < rank(b)) passed = false;
        if (f < 7 && pionb[f + 1] != 0 && rank(pionb[f + 1]) < rank(b)) passed = false;
        if (passed) {
            score += ODL[kw][b] * EVAL.ODLKROLWOLNY;
            score -= EVAL.WOLNY[9 - rank(b)];
        }
    }
    return score;
}

// Placement of the pieces and mobility, with the pawn arrays as given.
inline int ocpoz(const i8* pl, const i8* bp, const i8* cp, const i8* pionb, const i8* pionc) {
    const int kw = bp[2 * POS.KROLB + 1];
    const int kb = cp[2 * POS.KROLC + 1];
    int score = 0;

    bool bishop = false;
    int rookFile = -1;
    for (int i = 0; i < POS.ILB; ++i) {
        const int code = bp[2 * i];
        const int s = bp[2 * i + 1];
        const int f = s % 10 - 1;
        auto blockade = [&] {
            if (pl[s - 10] == W_PAWN) score -= EVAL.BLOKADASWOJEGO;
            if (pl[s + 10] == B_PAWN) score += EVAL.BLOKADAOBCEGO;
        };
        if (code == W_KING) {
            if (pionb[f] == 0) score -= EVAL.BKWOLNALINIA;
            if (pionc[f] == 0) score -= EVAL.BKWOLNALINIA;
            blockade();
            for (int d : {-1, 1, 9, 10, 11})
                if (at(pl, s + d) == W_PAWN) score += EVAL.CHRONIKROLA1;
            for (int d : {19, 20, 21})
                if (at(pl, s + d) == W_PAWN) score += EVAL.CHRONIKROLA2;
            score += EVAL.OCKROLB[s];
        } else if (code == W_KNIGHT) {
            score += ODL[s][kb] * EVAL.ODLKROLSKOCZEK;
            blockade();
            score += EVAL.OCSKOCB[s];
        } else if (code == W_BISHOP) {
            score += ODL[s][kb] * EVAL.ODLKROLGONIEC;
            blockade();
            if (bishop) score += EVAL.PARAGONCOW;
            bishop = true;
            score += EVAL.OCGONCB[s];
        } else if (code == W_ROOK) {
            if (f == rookFile) score += EVAL.WIEZAZDWOJENIE;
            score += ODL[s][kb] * EVAL.ODLKROLWIEZA;
            blockade();
            if (pionb[f] == 0) score += EVAL.WWOLNALINIA;
            score += EVAL.OCWIEZB[s];
            rookFile = f;
        } else if (code == W_QUEEN) {
            score += ODL[s][kb] * EVAL.ODLKROLHETMAN;
            blockade();
            score += EVAL.OCHETMB[s];
        }
    }

    if (EVAL.STANC == 1) score -= EVAL.ILOSCPOLC;
    if (EVAL.STANB == 1) score += EVAL.ILOSCPOLB;
    if (EVAL.STANB == 2) score += EVAL.ILOSCPOLB / 2;
    if (EVAL.STANC == 2) score -= EVAL.ILOSCPOLC / 2;

    bishop = false;
    rookFile = -1;
    for (int i = 0; i < POS.ILC; ++i) {
        const int code = cp[2 * i];
        const int s = cp[2 * i + 1];
        const int f = s % 10 - 1;
        auto blockade = [&] {
            if (pl[s + 10] == B_PAWN) score += EVAL.BLOKADASWOJEGO;
            if (pl[s - 10] == W_PAWN) score -= EVAL.BLOKADAOBCEGO;
        };
        if (code == B_KING) {
            score -= EVAL.OCKROLC[s];
            if (pionb[f] == 0) score += EVAL.CKWOLNALINIA;
            if (pionc[f] == 0) score += EVAL.CKWOLNALINIA;
            blockade();
            for (int d : {-1, 1, -9, -10, -11})
                if (at(pl, s + d) == B_PAWN) score -= EVAL.CHRONIKROLA1;
            for (int d : {-19, -20, -21})
                if (at(pl, s + d) == B_PAWN) score -= EVAL.CHRONIKROLA2;
        } else if (code == B_KNIGHT) {
            score -= ODL[s][kw] * EVAL.ODLKROLSKOCZEK;
            blockade();
            score -= EVAL.OCSKOCC[s];
        } else if (code == B_BISHOP) {
            score -= ODL[s][kw] * EVAL.ODLKROLGONIEC;
            blockade();
            if (bishop) score -= EVAL.PARAGONCOW;
            bishop = true;
            score -= EVAL.OCGONCC[s];
        } else if (code == B_ROOK) {
            if (f == rookFile) score -= EVAL.WIEZAZDWOJENIE;
            score -= ODL[s][kw] * EVAL.ODLKROLWIEZA;
            blockade();
            if (pionc[f] == 0) score -= EVAL.WWOLNALINIA;
            score -= EVAL.OCWIEZC[s];
            rookFile = f;
        } else if (code == B_QUEEN) {
            score -= ODL[s][kw] * EVAL.ODLKROLHETMAN;
            blockade();
            score -= EVAL.OCHETMC[s];
        }
    }
    return score;
}

}  // namespace morvelak::test::ref
