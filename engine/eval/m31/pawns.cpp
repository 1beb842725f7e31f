// Pawn structure: placement, protection, doubled, isolated and passed pawns,
// and the enemy king's distance to them.  Besides its score, OCPION leaves the
// most advanced pawn of each colour on every file for the piece evaluation.
//
// Every helper works from its own side's point of view (a positive result is
// good for that side); OCPION adds White's results and subtracts Black's.
#include "engine/eval/m31/eval.hpp"
#include "engine/eval/m31/king.hpp"
#include "engine/position/state.hpp"

namespace morvelak::m31 {

namespace {

// The rank of a square counted from side S's own back rank (1..8).
template <Side S>
inline int own_rank(int s) {
    if constexpr (S == Side::White) return s / 10;
    else return 9 - s / 10;
}

// Pawn of side S on square s of file f (0 = a-file): its table value, the
// enemy king's closeness, protection and doubling.  Records the pawn in pion.
template <Side S>
inline int pawn_on(const i8* pl, const i8* table, int s, int f, i8* pion, int enemyKing) {
    using O = Own<S>;
    int v = table[s] - ODL[s][enemyKing] * ODLKROLPION;
    // Protected by an own pawn diagonally behind it; two protectors count once.
    if (pl[s - O::capLeft] == O::pawn || pl[s - O::capRight] == O::pawn) v += KRYCIE;
    if (pion[f] != 0) v -= DUBEL;
    // Not a mirror: both colours are scanned from rank 2 upwards, so White
    // overwrites (ending with its highest pawn) while Black keeps the first
    // pawn met (its lowest).  Either way the file keeps its most advanced pawn.
    if (S == Side::White || pion[f] == 0) pion[f] = static_cast<i8>(s);
    return v;
}

// Isolated and passed pawns of side S, one test per file, on the file's most
// advanced pawn only.
template <Side S>
inline int files_of(const i8* own, const i8* enemy, int enemyKing) {
    int v = 0;
    for (int f = 0; f < 8; ++f) {
        const int p = own[f];
        if (p == 0) continue;
        const bool friendLeft = f > 0 && own[f - 1] != 0;
        const bool friendRight = f < 7 && own[f + 1] != 0;
        if (!friendLeft && !friendRight) {
            v -= SAMOTNY;
            if (enemy[f] == 0) v -= SLABY;
        }
        // Passed: no enemy pawn on the file, and on each neighbour file the
        // enemy's most advanced pawn (if any) is level with or behind it.  An
        // enemy pawn further up the neighbour file does not count.
        auto clear = [&](int g) {
            return g < 0 || g > 7 || enemy[g] == 0 || own_rank<S>(enemy[g]) <= own_rank<S>(p);
        };
        if (enemy[f] == 0 && clear(f - 1) && clear(f + 1))
            v += WOLNY[own_rank<S>(p)] - ODL[enemyKing][p] * ODLKROLWOLNY;
    }
    return v;
}

}  // namespace

int OCPION(const i8* pl, i8* pionb, i8* pionc) {
    for (int f = 0; f < 8; ++f) pionb[f] = pionc[f] = 0;
    const int kw = king_at(BP, KROLB);
    const int kb = king_at(CP, KROLC);
    int score = 0;

    // File by file, each from rank 2 to rank 7 (no pawn stands on rank 1 or 8).
    for (int f = 0; f < 8; ++f) {
        for (int s = 21 + f; s <= 71 + f; s += 10) {
            if (pl[s] == W_PAWN) score += pawn_on<Side::White>(pl, OCPIONB, s, f, pionb, kb);
            else if (pl[s] == B_PAWN) score -= pawn_on<Side::Black>(pl, OCPIONC, s, f, pionc, kw);
        }
    }
    score += files_of<Side::White>(pionb, pionc, kb);
    score -= files_of<Side::Black>(pionc, pionb, kw);
    return score;
}

}  // namespace morvelak::m31
