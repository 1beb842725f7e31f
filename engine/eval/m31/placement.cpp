// Piece placement: piece-square values of the phase, king shelter and open
// files at the king, closeness to the enemy king, pieces standing in front of
// pawns, the bishop pair, doubled rooks, rooks on files without own pawns,
// and mobility.  Pawn structure is OCPION's.
//
// One body serves both colours: pieces_of<S> scores side S's pieces from S's
// own point of view, and OCPOZ adds White's result and subtracts Black's.
#include <algorithm>

#include "engine/eval/m31/eval.hpp"
#include "engine/eval/m31/king.hpp"
#include "engine/eval/phase.hpp"
#include "engine/position/state.hpp"

namespace morvelak::m31 {

namespace {

// The tables and the open-file weight of one colour.
struct SideTables {
    const i8 *knight, *bishop, *rook, *queen, *king;
    int openFile;
};

template <Side S>
inline SideTables tables_of() {
    if constexpr (S == Side::White)
        return {OCSKOCB, OCGONCB, OCWIEZB, OCHETMB, OCKROLB, BKWOLNALINIA};
    else
        return {OCSKOCC, OCGONCC, OCWIEZC, OCHETMC, OCKROLC, CKWOLNALINIA};
}

// Side S's pieces in list order.  pionOwn / pionEnemy: the most advanced
// pawn of each colour per file; enemyKing: the square of the other king.
template <Side S>
int pieces_of(const i8* pl, const i8* list, int count, const i8* pionOwn, const i8* pionEnemy,
              int enemyKing) {
    using O = Own<S>;
    const SideTables t = tables_of<S>();

    // A piece on an own pawn's path holds it back; one planted in front of an
    // enemy pawn stops it.
    auto blockade = [&](int s) {
        int b = 0;
        if (pl[s - O::up] == O::pawn) b -= BLOKADASWOJEGO;
        if (pl[s + O::up] == O::enemyPawn) b += BLOKADAOBCEGO;
        return b;
    };

    int v = 0;
    bool bishopSeen = false;
    int rookFile = -1;  // file of the rook visited last, none yet
    for (int i = 0; i < count; ++i) {
        const i8 code = list[2 * i];
        const int s = list[2 * i + 1];
        const int f = s % 10 - 1;
        switch (code) {
        case O::king: {
            // Each colour missing from the king's file opens it a little more.
            if (pionOwn[f] == 0) v -= t.openFile;
            if (pionEnemy[f] == 0) v -= t.openFile;
            v += blockade(s);
            // Shelter: own pawns beside the king and on the three squares in
            // front of it ...
            const int front = s + O::up;
            for (int q : {s - 1, s + 1, front - 1, front, front + 1})
                if (pl[q] == O::pawn) v += CHRONIKROLA1;
            // ... and on the three squares two ranks ahead.  Seen from the
            // last rank those lie beyond the board array: no shelter there.
            if (s / 10 != O::lastRank) {
                const int far = s + 2 * O::up;
                for (int q : {far - 1, far, far + 1})
                    if (pl[q] == O::pawn) v += CHRONIKROLA2;
            }
            v += t.king[s];
            break;
        }
        case O::knight:
            v += ODL[s][enemyKing] * ODLKROLSKOCZEK + blockade(s) + t.knight[s];
            break;
        case O::bishop:
            v += ODL[s][enemyKing] * ODLKROLGONIEC + blockade(s);
            if (bishopSeen) v += PARAGONCOW;  // every bishop after the first
            bishopSeen = true;
            v += t.bishop[s];
            break;
        case O::rook:
            // Only the rook visited just before is compared: rooks on one file
            // with another rook listed between them are not seen as doubled.
            if (f == rookFile) v += WIEZAZDWOJENIE;
            v += ODL[s][enemyKing] * ODLKROLWIEZA + blockade(s);
            if (pionOwn[f] == 0) v += WWOLNALINIA;
            v += t.rook[s];
            rookFile = f;
            break;
        case O::queen:
            v += ODL[s][enemyKing] * ODLKROLHETMAN + blockade(s) + t.queen[s];
            break;
        default:  // pawns (OCPION's), and the holes left by captured pieces
            break;
        }
    }
    return v;
}

// Mobility: the full move count in the middle game, half of it in the
// endgame, none in the opening.
inline int mobility(int phase, int moves) {
    if (phase == 1) return moves;
    if (phase == 2) return moves / 2;
    return 0;
}

}  // namespace

int OCPOZ(const i8* pl, const i8* bp, const i8* cp, const i8* pionb, const i8* pionc) {
    const int kw = king_at(bp, KROLB);
    const int kb = king_at(cp, KROLC);
    const int nb = std::clamp<int>(ILB, 0, LIST_ENTRIES);
    const int nc = std::clamp<int>(ILC, 0, LIST_ENTRIES);

    int score = pieces_of<Side::White>(pl, bp, nb, pionb, pionc, kb);
    score += mobility(STANB, ILOSCPOLB) - mobility(STANC, ILOSCPOLC);
    score -= pieces_of<Side::Black>(pl, cp, nc, pionc, pionb, kw);
    return score;
}

}  // namespace morvelak::m31
