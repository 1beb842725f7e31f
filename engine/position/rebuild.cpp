#include "engine/position/rebuild.hpp"

#include "engine/position/material.hpp"

namespace morvelak {

namespace {
bool on_board_somewhere(i8 code) {
    for (int i = 0; i < 64; ++i)
        if (POS.PL[TAB[i]] == code) return true;
    return false;
}
}  // namespace

void rebuild_lists() {
    for (i8& b : POS.BP) b = LIST_FILL;
    for (i8& b : POS.CP) b = LIST_FILL;
    // White reads the board from a8 towards h1, Black from h1 towards a8, so
    // each list starts with the pieces nearest the opponent.  A list holds 16
    // entries; a board with more pieces of one side (only a board file can
    // say so) keeps the first ones in scan order, but always keeps a place
    // for its king, so that KROLB and KROLC name a king whenever there is one.
    int nb = 0;
    bool kingToCome = on_board_somewhere(W_KING);
    for (int i = 0; i < 64 && nb < LIST_ENTRIES; ++i) {
        const int s = TAB[i];
        if (POS.PL[s] & WHITE_BIT) {
            if (POS.PL[s] == W_KING) {
                POS.KROLB = static_cast<i8>(nb);
                kingToCome = false;
            } else if (kingToCome && nb == LIST_ENTRIES - 1) {
                continue;
            }
            POS.BP[2 * nb] = POS.PL[s];
            POS.BP[2 * nb + 1] = static_cast<i8>(s);
            ++nb;
        }
    }
    int nc = 0;
    kingToCome = on_board_somewhere(B_KING);
    for (int i = 63; i >= 0 && nc < LIST_ENTRIES; --i) {
        const int s = TAB[i];
        if (POS.PL[s] & BLACK_BIT) {
            if (POS.PL[s] == B_KING) {
                POS.KROLC = static_cast<i8>(nc);
                kingToCome = false;
            } else if (kingToCome && nc == LIST_ENTRIES - 1) {
                continue;
            }
            POS.CP[2 * nc] = POS.PL[s];
            POS.CP[2 * nc + 1] = static_cast<i8>(s);
            ++nc;
        }
    }
    POS.ILB = static_cast<i8>(nb);
    POS.ILC = static_cast<i8>(nc);
}

void skroctablice(Scale scale) {
    for (i8& b : POS.BP) b = LIST_FILL;
    for (i8& b : POS.CP) b = LIST_FILL;
    for (int i = 0; i < 10; ++i) {
        POS.PL[i] = BORDER;
        POS.PL[90 + i] = BORDER;
        POS.PL[10 * i] = BORDER;
        POS.PL[10 * i + 9] = BORDER;
    }
    // While a side is ahead, its own losses in an exchange weigh less.
    const int m = OCENAMAT(POS.PL, scale.pawn) / scale.pawn;
    POS.WART[0] = 0;
    POS.WART[W_KING] = 10000;
    POS.WART[W_PAWN] = scale.pawn - m;
    POS.WART[W_KNIGHT] = 300 - 2 * m;
    POS.WART[W_BISHOP] = 310 - 2 * m;
    POS.WART[W_ROOK] = 500 - 3 * m;
    POS.WART[W_QUEEN] = scale.queen - 5 * m;
    POS.WART[B_KING] = -10000;
    POS.WART[B_PAWN] = -scale.pawn - m;
    POS.WART[B_KNIGHT] = -300 - 2 * m;
    POS.WART[B_BISHOP] = -310 - 2 * m;
    POS.WART[B_ROOK] = -500 - 3 * m;
    POS.WART[B_QUEEN] = -scale.queen - 5 * m;

    rebuild_lists();

    if (POS.PL[85] != B_KING) POS.WYJ[1] = 0;
    if (POS.PL[81] != B_ROOK) POS.WYJ[1] &= 1;
    if (POS.PL[88] != B_ROOK) POS.WYJ[1] &= 2;
    if (POS.PL[15] != W_KING) POS.WYJ[0] = 0;
    if (POS.PL[11] != W_ROOK) POS.WYJ[0] &= 1;
    if (POS.PL[18] != W_ROOK) POS.WYJ[0] &= 2;

    // En-passant squares likewise: only an empty square just behind an enemy
    // pawn that has made its double step can be one.  A board file may hold
    // anything here; in play the square is always consistent already.
    const int ep2 = POS.WYJ[2], ep3 = POS.WYJ[3];
    if (ep2 != 0 && !(ep2 >= 31 && ep2 <= 38 && POS.PL[ep2] == EMPTY && POS.PL[ep2 + 10] == W_PAWN)) POS.WYJ[2] = 0;
    if (ep3 != 0 && !(ep3 >= 61 && ep3 <= 68 && POS.PL[ep3] == EMPTY && POS.PL[ep3 - 10] == B_PAWN)) POS.WYJ[3] = 0;
}

}  // namespace morvelak
