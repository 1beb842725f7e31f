// The older builds' evaluation written the plain way, rule by rule and
// square by square, for White and then for Black with every square, rank
// and array spelled out: the yardstick the engine's fast routine is compared
// against.  Squares outside the board array read as border.
#pragma once

#include "engine/eval/older/eval.hpp"
#include "engine/eval/phase.hpp"
#include "engine/position/position.hpp"

namespace morvelak::test::ref {

inline int at(const i8* pl, int s) { return s >= 0 && s < 100 ? pl[s] : BORDER; }
inline int rank(int s) { return s / 10; }
inline int file(int s) { return s % 10; }
inline int near(int s, int t) { return 8 - ODLKROL[s][t]; }
inline bool occupied(const i8* pl, int s) { return at(pl, s) != EMPTY; }

inline int open_file(const i8* pl, int c) {
    for (int r = 1; r <= 7; ++r)
        if (pl[10 * r + c] == W_PAWN || pl[10 * r + c] == B_PAWN) return 0;
    return 1;
}

inline bool backward_white(const i8* pl, int s) {
    const bool pressed =
        at(pl, s + 21) == B_PAWN || at(pl, s + 19) == B_PAWN || (at(pl, s + 10) & BLACK_BIT) != 0;
    if (!pressed) return false;
    for (int k = s; rank(k) >= 2; k -= 10)
        if (pl[k - 1] == W_PAWN || pl[k + 1] == W_PAWN) return false;
    return true;
}

inline bool backward_black(const i8* pl, int s) {
    const bool pressed =
        at(pl, s - 19) == W_PAWN || at(pl, s - 21) == W_PAWN || (at(pl, s - 10) & WHITE_BIT) != 0;
    if (!pressed) return false;
    for (int k = s; rank(k) <= 7; k += 10)
        if (pl[k - 1] == B_PAWN || pl[k + 1] == B_PAWN) return false;
    return true;
}

inline int ocpoz(const older::TableSet& tables, const i8* pl, const i8* bp, const i8* cp) {
    // pion*[f] for files 1..8; 0 and 9 stay empty.
    int pionb[10] = {}, pionc[10] = {};
    for (int f = 1; f <= 8; ++f) {
        for (int r = 2; r <= 7; ++r) {
            const int s = 10 * r + f;
            if (pl[s] == W_PAWN) pionb[f] = s;
            if (pl[s] == B_PAWN && pionc[f] == 0) pionc[f] = s;
        }
    }
    const int kw = bp[2 * POS.KROLB + 1];
    const int kb = cp[2 * POS.KROLC + 1];
    int score = 0;

    // White.
    {
        const older::PhaseTables& t = tables.white[EVAL.STANB];
        if (EVAL.STANB == 1) score += EVAL.ILOSCPOLB;
        if (EVAL.STANB == 2) score += EVAL.ILOSCPOLB / 2;
        for (int i = 0; i < POS.ILB; ++i) {
            const int code = bp[2 * i];
            const int s = bp[2 * i + 1];
            const int f = file(s), r = rank(s);
            int v = 0;
            if (EVAL.STANB == 0) {
                if (code == W_KING) {
                    v += t.king[s];
                    if (s <= 68) {
                        if (f != 1 && pl[s + 9] == W_PAWN) v += 2;
                        if (f != 8 && pl[s + 11] == W_PAWN) v += 2;
                        if (pl[s + 10] == W_PAWN) v += 2;
                    }
                } else if (code == W_PAWN) {
                    v += t.pawn[s];
                    if (backward_white(pl, s)) v -= 15;
                    if (f != 1 && pl[s - 11] == W_PAWN) v += r - 1;
                    else if (f != 8 && pl[s - 9] == W_PAWN) v += r - 1;
                    if (s != pionb[f]) v -= 10;
                } else if (code == W_KNIGHT || code == W_BISHOP) {
                    if (code == W_KNIGHT) v += t.knight[s];
                    if (code == W_BISHOP) {
                        v += t.bishop[s];
                        if (occupied(pl, s + 11) && occupied(pl, s + 9)) v -= 3;
                    }
                    if (pl[s - 10] == W_PAWN) v -= 2;
                    if (pl[s - 11] == W_PAWN) v += 1;
                    if (pl[s - 9] == W_PAWN) v += 1;
                    if (pl[s + 10] == B_PAWN) v += 2;
                    if (pl[s + 1] == B_PAWN) v += 1;
                    if (pl[s - 1] == B_PAWN) v += 1;
                } else if (code == W_ROOK) {
                    v += t.rook[s];
                    if (occupied(pl, s + 1) && occupied(pl, s - 1)) v -= 3;
                    for (int x = s - 1;; --x) {
                        if (pl[x] == EMPTY) continue;
                        if (pl[x] == W_QUEEN) { v += 3; continue; }
                        if (pl[x] == W_ROOK) v += 5;
                        break;
                    }
                } else if (code == W_QUEEN) {
                    v += t.queen[s];
                }
            } else if (EVAL.STANB == 1) {
                if (code == W_KING) {
                    v += t.king[s];
                    if (pionb[f] == 0 && pionc[f] == 0) v -= 5;
                    if (f != 1 && pl[s + 9] == W_PAWN) v += 2;
                    if (f != 8 && pl[s + 11] == W_PAWN) v += 2;
                    if (pl[s + 10] == W_PAWN) v += 2;
                } else if (code == W_PAWN) {
                    const int df = f - file(kw);
                    if (df >= -1 && df <= 1) v += 10 - ODLKROL[s][kw];
                    else v += t.pawn[s] + near(s, kb);
                    if (f != 1 && pl[s - 11] == W_PAWN) v += 2 * r - 4;
                    else if (f != 8 && pl[s - 9] == W_PAWN) v += 2 * r - 4;
                    if (s != pionb[f]) v -= 20;
                    const bool left = f > 1 && pionb[f - 1] != 0, right = f < 8 && pionb[f + 1] != 0;
                    if (!left && !right) v -= 15;
                    bool passed = pionc[f] == 0;
                    if (f > 1 && pionc[f - 1] != 0 && rank(pionc[f - 1]) > r) passed = false;
                    if (f < 8 && pionc[f + 1] != 0 && rank(pionc[f + 1]) > r) passed = false;
                    if (passed) v += 10;
                } else if (code == W_KNIGHT) {
                    v += t.knight[s] + 2 * near(s, kb);
                    if (pl[s - 10] == W_PAWN) v -= 2;
                    if (pl[s + 10] == B_PAWN) v += 2;
                    if (pl[s + 1] == B_PAWN) v += 1;
                    if (pl[s - 1] == B_PAWN) v += 1;
                } else if (code == W_BISHOP) {
                    v += t.bishop[s];
                    if (occupied(pl, s + 11) && occupied(pl, s + 9)) v -= 2;
                    v += near(s, kb);
                    if (pl[s - 10] == W_PAWN) v -= 2;
                    if (pl[s - 11] == W_PAWN) v += 2;
                    if (pl[s - 9] == W_PAWN) v += 2;
                    if (pl[s + 10] == B_PAWN) v += 3;
                    if (pl[s + 1] == B_PAWN) v += 2;
                    if (pl[s - 1] == B_PAWN) v += 2;
                } else if (code == W_ROOK) {
                    if (occupied(pl, s + 1) && occupied(pl, s - 1)) v -= 4;
                    if (pionb[f] == 0) v += 6;
                    if (pionc[f] == 0 && (pionb[f] == 0 || s >= pionb[f])) v += 7;
                    v += t.rook[s];
                    int x = s + 1;
                    while (pl[x] == EMPTY || pl[x] == W_QUEEN) ++x;
                    if (pl[x] == W_ROOK) v += 4;
                    for (x = s + 10; x <= 88; x += 10) {
                        if (pl[x] == EMPTY) continue;
                        if (pl[x] == W_ROOK || pl[x] == W_QUEEN) v += 8;
                        break;
                    }
                } else if (code == W_QUEEN) {
                    if (pionb[f] == 0) v += 5;
                    if (pionc[f] == 0 && (pionb[f] == 0 || s >= pionb[f])) v += 6;
                    v += 2 * near(s, kb) + t.queen[s];
                }
            } else {
                if (code == W_KING) {
                    v += t.king[s];
                } else if (code == W_PAWN) {
                    if (backward_white(pl, s)) v -= 15;
                    v += t.pawn[s] + near(s, kw);
                    if (f != 1 && pl[s - 11] == W_PAWN) v += 2 * r - 2;
                    else if (f != 8 && pl[s - 9] == W_PAWN) v += 2 * r - 2;
                    for (int x = s - 10; rank(x) >= 2; x -= 10)
                        if (pl[x] == W_PAWN) v -= 25;
                    bool alone = true;
                    for (int rr = 2; rr <= 7; ++rr) {
                        if (f > 1 && pl[10 * rr + f - 1] == W_PAWN) alone = false;
                        if (f < 8 && pl[10 * rr + f + 1] == W_PAWN) alone = false;
                    }
                    if (alone) v -= 20;
                } else if (code == W_KNIGHT) {
                    v += t.knight[s] + near(s, kb);
                    if (pl[s - 10] == W_PAWN) v -= 2;
                    if (pl[s + 10] == B_PAWN) v += 3;
                    if (pl[s + 1] == B_PAWN) v += 2;
                    if (pl[s - 1] == B_PAWN) v += 2;
                } else if (code == W_BISHOP) {
                    v += t.bishop[s];
                    if (pl[s - 10] == W_PAWN) v -= 2;
                    if (pl[s - 11] == W_PAWN) v += 2;
                    if (pl[s - 9] == W_PAWN) v += 2;
                    if (pl[s + 10] == B_PAWN) v += 4;
                    if (pl[s + 1] == B_PAWN) v += 3;
                    if (pl[s - 1] == B_PAWN) v += 3;
                } else if (code == W_ROOK) {
                    v += t.rook[s];
                    if (open_file(pl, f)) v += 5;
                    int x = s + 1;
                    while (pl[x] == EMPTY || pl[x] == W_QUEEN) ++x;
                    if (pl[x] == W_ROOK) v += 4;
                    for (x = s + 10; x <= 88; x += 10) {
                        if (pl[x] == EMPTY) continue;
                        if (pl[x] == W_ROOK || pl[x] == W_QUEEN) v += 8;
                        break;
                    }
                } else if (code == W_QUEEN) {
                    if (open_file(pl, f)) v += 2;
                    v += t.queen[s];
                }
            }
            score += v;
        }
    }

    // Black: the mirror, subtracted.
    {
        const older::PhaseTables& t = tables.black[EVAL.STANC];
        if (EVAL.STANC == 1) score -= EVAL.ILOSCPOLC;
        if (EVAL.STANC == 2) score -= EVAL.ILOSCPOLC / 2;
        for (int i = 0; i < POS.ILC; ++i) {
            const int code = cp[2 * i];
            const int s = cp[2 * i + 1];
            const int f = file(s), r = rank(s);
            int v = 0;
            if (EVAL.STANC == 0) {
                if (code == B_KING) {
                    v += t.king[s];
                    if (s >= 31) {
                        if (f != 1 && pl[s - 11] == B_PAWN) v += 2;
                        if (f != 8 && pl[s - 9] == B_PAWN) v += 2;
                        if (pl[s - 10] == B_PAWN) v += 2;
                    }
                } else if (code == B_PAWN) {
                    v += t.pawn[s];
                    if (backward_black(pl, s)) v -= 15;
                    if (f != 1 && pl[s + 9] == B_PAWN) v += 8 - r;
                    else if (f != 8 && pl[s + 11] == B_PAWN) v += 8 - r;
                    if (s != pionc[f]) v -= 10;
                } else if (code == B_KNIGHT || code == B_BISHOP) {
                    if (code == B_KNIGHT) v += t.knight[s];
                    if (code == B_BISHOP) {
                        v += t.bishop[s];
                        if (occupied(pl, s - 9) && occupied(pl, s - 11)) v -= 3;
                    }
                    if (pl[s + 10] == B_PAWN) v -= 2;
                    if (pl[s + 9] == B_PAWN) v += 1;
                    if (pl[s + 11] == B_PAWN) v += 1;
                    if (pl[s - 10] == W_PAWN) v += 2;
                    if (pl[s + 1] == W_PAWN) v += 1;
                    if (pl[s - 1] == W_PAWN) v += 1;
                } else if (code == B_ROOK) {
                    v += t.rook[s];
                    if (occupied(pl, s + 1) && occupied(pl, s - 1)) v -= 3;
                    for (int x = s - 1;; --x) {
                        if (pl[x] == EMPTY) continue;
                        if (pl[x] == B_QUEEN) { v += 3; continue; }
                        if (pl[x] == B_ROOK) v += 5;
                        break;
                    }
                } else if (code == B_QUEEN) {
                    v += t.queen[s];
                }
            } else if (EVAL.STANC == 1) {
                if (code == B_KING) {
                    v += t.king[s];
                    if (pionb[f] == 0 && pionc[f] == 0) v -= 5;
                    if (f != 1 && pl[s - 11] == B_PAWN) v += 2;
                    if (f != 8 && pl[s - 9] == B_PAWN) v += 2;
                    if (pl[s - 10] == B_PAWN) v += 2;
                } else if (code == B_PAWN) {
                    const int df = f - file(kb);
                    if (df >= -1 && df <= 1) v += 10 - ODLKROL[s][kb];
                    else v += t.pawn[s] + near(s, kw);
                    if (f != 1 && pl[s + 9] == B_PAWN) v += 2 * (7 - r);
                    else if (f != 8 && pl[s + 11] == B_PAWN) v += 2 * (7 - r);
                    if (s != pionc[f]) v -= 20;
                    const bool left = f > 1 && pionc[f - 1] != 0, right = f < 8 && pionc[f + 1] != 0;
                    if (!left && !right) v -= 15;
                    bool passed = pionb[f] == 0;
                    if (f > 1 && pionb[f - 1] != 0 && rank(pionb[f - 1]) < r) passed = false;
                    if (f < 8 && pionb[f + 1] != 0 && rank(pionb[f + 1]) < r) passed = false;
                    if (passed) v += 10;
                } else if (code == B_KNIGHT) {
                    v += t.knight[s] + 2 * near(s, kw);
                    if (pl[s + 10] == B_PAWN) v -= 2;
                    if (pl[s - 10] == W_PAWN) v += 2;
                    if (pl[s + 1] == W_PAWN) v += 1;
                    if (pl[s - 1] == W_PAWN) v += 1;
                } else if (code == B_BISHOP) {
                    v += t.bishop[s];
                    if (occupied(pl, s - 9) && occupied(pl, s - 11)) v -= 2;
                    v += near(s, kw);
                    if (pl[s + 10] == B_PAWN) v -= 2;
                    if (pl[s + 9] == B_PAWN) v += 2;
                    if (pl[s + 11] == B_PAWN) v += 2;
                    if (pl[s - 10] == W_PAWN) v += 3;
                    if (pl[s + 1] == W_PAWN) v += 2;
                    if (pl[s - 1] == W_PAWN) v += 2;
                } else if (code == B_ROOK) {
                    if (occupied(pl, s + 1) && occupied(pl, s - 1)) v -= 4;
                    if (pionc[f] == 0) v += 6;
                    if (pionb[f] == 0 && (pionc[f] == 0 || s <= pionc[f])) v += 7;
                    v += t.rook[s];
                    int x = s + 1;
                    while (pl[x] == EMPTY || pl[x] == B_QUEEN) ++x;
                    if (pl[x] == B_ROOK) v += 4;
                    for (x = s + 10; x <= 88; x += 10) {
                        if (pl[x] == EMPTY) continue;
                        if (pl[x] == B_ROOK || pl[x] == B_QUEEN) v += 8;
                        break;
                    }
                } else if (code == B_QUEEN) {
                    if (pionc[f] == 0) v += 5;
                    if (pionb[f] == 0 && (pionc[f] == 0 || s <= pionc[f])) v += 6;
                    v += 2 * near(s, kw) + t.queen[s];
                }
            } else {
                if (code == B_KING) {
                    v += t.king[s];
                } else if (code == B_PAWN) {
                    if (backward_black(pl, s)) v -= 15;
                    v += t.pawn[s] + near(s, kb);
                    if (f != 1 && pl[s + 9] == B_PAWN) v += 2 * (8 - r);
                    else if (f != 8 && pl[s + 11] == B_PAWN) v += 2 * (8 - r);
                    for (int x = s + 10; rank(x) <= 7; x += 10)
                        if (pl[x] == B_PAWN) v -= 25;
                    bool alone = true;
                    for (int rr = 2; rr <= 7; ++rr) {
                        if (f > 1 && pl[10 * rr + f - 1] == B_PAWN) alone = false;
                        if (f < 8 && pl[10 * rr + f + 1] == B_PAWN) alone = false;
                    }
                    if (alone) v -= 20;
                } else if (code == B_KNIGHT) {
                    v += t.knight[s] + near(s, kw);
                    if (pl[s + 10] == B_PAWN) v -= 2;
                    if (pl[s - 10] == W_PAWN) v += 3;
                    if (pl[s + 1] == W_PAWN) v += 2;
                    if (pl[s - 1] == W_PAWN) v += 2;
                } else if (code == B_BISHOP) {
                    v += t.bishop[s];
                    if (pl[s + 10] == B_PAWN) v -= 2;
                    if (pl[s + 9] == B_PAWN) v += 2;
                    if (pl[s + 11] == B_PAWN) v += 2;
                    if (pl[s - 10] == W_PAWN) v += 4;
                    if (pl[s + 1] == W_PAWN) v += 3;
                    if (pl[s - 1] == W_PAWN) v += 3;
                } else if (code == B_ROOK) {
                    v += t.rook[s];
                    if (open_file(pl, f)) v += 5;
                    int x = s + 1;
                    while (pl[x] == EMPTY || pl[x] == B_QUEEN) ++x;
                    if (pl[x] == B_ROOK) v += 4;
                    for (x = s + 10; x <= 88; x += 10) {
                        if (pl[x] == EMPTY) continue;
                        if (pl[x] == B_ROOK || pl[x] == B_QUEEN) v += 8;
                        break;
                    }
                } else if (code == B_QUEEN) {
                    if (open_file(pl, f)) v += 2;
                    v += t.queen[s];
                }
            }
            score -= v;
        }
    }
    return score;
}

}  // namespace morvelak::test::ref
