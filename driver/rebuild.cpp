#include "driver/rebuild.hpp"

#include "engine/eval/material.hpp"

namespace morvelak {

namespace {
bool on_board_somewhere(i8 code) {
    for (int i = 0; i < 64; ++i)
        if (PL[TAB[i]] == code) return true;
    return false;
}
}  // namespace

void rebuild_lists() {
    for (i8& b : BP) b = LIST_FILL;
    for (i8& b : CP) b = LIST_FILL;
    // White reads the board from a8 towards h1, Black from h1 towards a8, so
    // each list starts with the pieces nearest the opponent.  A list holds 16
    // entries; a board with more pieces of one side (only a board file can
    // say so) keeps the first ones in scan order, but always keeps a place
    // for its king, so that KROLB and KROLC name a king whenever there is one.
    int nb = 0;
    bool kingToCome = on_board_somewhere(W_KING);
    for (int i = 0; i < 64 && nb < LIST_ENTRIES; ++i) {
        const int s = TAB[i];
        if (PL[s] & WHITE_BIT) {
            if (PL[s] == W_KING) {
                KROLB = static_cast<i8>(nb);
                kingToCome = false;
            } else if (kingToCome && nb == LIST_ENTRIES - 1) {
                continue;
            }
            BP[2 * nb] = PL[s];
            BP[2 * nb + 1] = static_cast<i8>(s);
            ++nb;
        }
    }
    int nc = 0;
    kingToCome = on_board_somewhere(B_KING);
    for (int i = 63; i >= 0 && nc < LIST_ENTRIES; --i) {
        const int s = TAB[i];
        if (PL[s] & BLACK_BIT) {
            if (PL[s] == B_KING) {
                KROLC = static_cast<i8>(nc);
                kingToCome = false;
            } else if (kingToCome && nc == LIST_ENTRIES - 1) {
                continue;
            }
            CP[2 * nc] = PL[s];
            CP[2 * nc + 1] = static_cast<i8>(s);
            ++nc;
        }
    }
    ILB = static_cast<i8>(nb);
    ILC = static_cast<i8>(nc);
}

void skroctablice(Scale scale) {
    for (i8& b : BP) b = LIST_FILL;
    for (i8& b : CP) b = LIST_FILL;
    for (int i = 0; i < 10; ++i) {
        PL[i] = BORDER;
        PL[90 + i] = BORDER;
        PL[10 * i] = BORDER;
        PL[10 * i + 9] = BORDER;
    }
    // While a side is ahead, its own losses in an exchange weigh less.
    const int m = OCENAMAT(PL, scale.pawn) / scale.pawn;
    WART[0] = 0;
    WART[W_KING] = 10000;
    WART[W_PAWN] = scale.pawn - m;
    WART[W_KNIGHT] = 300 - 2 * m;
    WART[W_BISHOP] = 310 - 2 * m;
    WART[W_ROOK] = 500 - 3 * m;
    WART[W_QUEEN] = scale.queen - 5 * m;
    WART[B_KING] = -10000;
    WART[B_PAWN] = -scale.pawn - m;
    WART[B_KNIGHT] = -300 - 2 * m;
    WART[B_BISHOP] = -310 - 2 * m;
    WART[B_ROOK] = -500 - 3 * m;
    WART[B_QUEEN] = -scale.queen - 5 * m;

    rebuild_lists();

    if (PL[85] != B_KING) WYJ[1] = 0;
    if (PL[81] != B_ROOK) WYJ[1] &= 1;
    if (PL[88] != B_ROOK) WYJ[1] &= 2;
    if (PL[15] != W_KING) WYJ[0] = 0;
    if (PL[11] != W_ROOK) WYJ[0] &= 1;
    if (PL[18] != W_ROOK) WYJ[0] &= 2;

    // En-passant squares likewise: only an empty square just behind an enemy
    // pawn that has made its double step can be one.  A board file may hold
    // anything here; in play the square is always consistent already.
    const int ep2 = WYJ[2], ep3 = WYJ[3];
    if (ep2 != 0 && !(ep2 >= 31 && ep2 <= 38 && PL[ep2] == EMPTY && PL[ep2 + 10] == W_PAWN)) WYJ[2] = 0;
    if (ep3 != 0 && !(ep3 >= 61 && ep3 <= 68 && PL[ep3] == EMPTY && PL[ep3 - 10] == B_PAWN)) WYJ[3] = 0;
}

}  // namespace morvelak
