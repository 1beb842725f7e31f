// Piece placement: piece-square values of the phase, king shelter and open
// files at the king, closeness to the enemy king, pieces standing in front of
// pawns, the bishop pair, doubled rooks, rooks on files without own pawns,
// and mobility.  Pawn structure is OCPION's.
//
// One body serves both colours: pieces_of<S> scores side S's pieces from S's
// own point of view, and OCPOZ adds White's result and subtracts Black's.
#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>

#include "engine/eval/m31/eval.hpp"
#include "engine/eval/m31/king.hpp"
#include "engine/eval/listmasks.hpp"
#include "engine/eval/phase.hpp"
#include "engine/position/position.hpp"

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
        return {EVAL.OCSKOCB, EVAL.OCGONCB, EVAL.OCWIEZB, EVAL.OCHETMB, EVAL.OCKROLB, EVAL.BKWOLNALINIA};
    else
        return {EVAL.OCSKOCC, EVAL.OCGONCC, EVAL.OCWIEZC, EVAL.OCHETMC, EVAL.OCKROLC, EVAL.CKWOLNALINIA};
}

// File index of a square, 0 for the a-file (-1 and 8 on the border).
constexpr auto FILE_INDEX = [] {
    std::array<i8, 100> f{};
    for (int s = 0; s < 100; ++s) f[s] = static_cast<i8>(s % 10 - 1);
    return f;
}();

// Side S's pieces, kind by kind, each kind in list order.  pionOwn /
// pionEnemy: the most advanced pawn of each colour per file; enemyKing: the
// square of the other king.  Every term but the doubled rooks is a sum over
// the pieces, so the order in which the kinds are visited does not matter.
template <Side S>
int pieces_of(const i8* pl, const i8* list, int count, const i8* pionOwn, const i8* pionEnemy,
              int enemyKing) {
    using O = Own<S>;
    const SideTables t = tables_of<S>();
    const ListMasks kinds = list_masks<S>(list, count);
    // Closeness of a square s to the enemy king: toKing[100 * s] = ODL[s][enemyKing].
    const i8* const toKing = &ODL[0][enemyKing];
    const int ownBlock = EVAL.BLOKADASWOJEGO, enemyBlock = EVAL.BLOKADAOBCEGO;

    // A piece on an own pawn's path holds it back; one planted in front of an
    // enemy pawn stops it.
    auto blockade = [&](int s) {
        return (pl[s + O::up] == O::enemyPawn ? enemyBlock : 0) -
               (pl[s - O::up] == O::pawn ? ownBlock : 0);
    };
    // The square of the lowest entry of a mask.
    auto square = [&](std::uint32_t m) { return static_cast<int>(list[2 * std::countr_zero(m) + 1]); };

    int v = 0;
    for (std::uint32_t m = kinds.king; m != 0; m &= m - 1) {
        const int s = square(m);
        // Each colour missing from the king's file opens it a little more.
        const int f = FILE_INDEX[s];
        v -= ((pionOwn[f] == 0) + (pionEnemy[f] == 0)) * t.openFile;
        v += blockade(s);
        // Shelter: own pawns beside the king and on the three squares in
        // front of it ...
        const int front = s + O::up;
        const int near = (pl[s - 1] == O::pawn) + (pl[s + 1] == O::pawn) + (pl[front - 1] == O::pawn) +
                         (pl[front] == O::pawn) + (pl[front + 1] == O::pawn);
        v += near * EVAL.CHRONIKROLA1;
        // ... and on the three squares two ranks ahead.  Seen from the last
        // rank those lie beyond the board array: no shelter there.
        if (s / 10 != O::lastRank) {
            const int far = s + 2 * O::up;
            const int second = (pl[far - 1] == O::pawn) + (pl[far] == O::pawn) + (pl[far + 1] == O::pawn);
            v += second * EVAL.CHRONIKROLA2;
        }
        v += t.king[s];
    }
    for (std::uint32_t m = kinds.knight; m != 0; m &= m - 1) {
        const int s = square(m);
        v += toKing[100 * s] * EVAL.ODLKROLSKOCZEK + blockade(s) + t.knight[s];
    }
    int bishops = 0;
    for (std::uint32_t m = kinds.bishop; m != 0; m &= m - 1) {
        const int s = square(m);
        v += toKing[100 * s] * EVAL.ODLKROLGONIEC + blockade(s) + t.bishop[s];
        ++bishops;
    }
    // Every bishop after the first earns the pair bonus.
    if (bishops > 1) v += (bishops - 1) * EVAL.PARAGONCOW;
    // Only the rook visited just before is compared: rooks on one file with
    // another rook listed between them are not seen as doubled.
    int rookFile = -1;  // file of the rook visited last, none yet
    for (std::uint32_t m = kinds.rook; m != 0; m &= m - 1) {
        const int s = square(m);
        const int f = FILE_INDEX[s];
        if (f == rookFile) v += EVAL.WIEZAZDWOJENIE;
        if (pionOwn[f] == 0) v += EVAL.WWOLNALINIA;
        v += toKing[100 * s] * EVAL.ODLKROLWIEZA + blockade(s) + t.rook[s];
        rookFile = f;
    }
    for (std::uint32_t m = kinds.queen; m != 0; m &= m - 1) {
        const int s = square(m);
        v += toKing[100 * s] * EVAL.ODLKROLHETMAN + blockade(s) + t.queen[s];
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
    const int kw = king_at(bp, POS.KROLB);
    const int kb = king_at(cp, POS.KROLC);
    const int nb = std::clamp<int>(POS.ILB, 0, LIST_ENTRIES);
    const int nc = std::clamp<int>(POS.ILC, 0, LIST_ENTRIES);

    int score = pieces_of<Side::White>(pl, bp, nb, pionb, pionc, kb);
    score += mobility(EVAL.STANB, EVAL.ILOSCPOLB) - mobility(EVAL.STANC, EVAL.ILOSCPOLC);
    score -= pieces_of<Side::Black>(pl, cp, nc, pionc, pionb, kw);
    return score;
}

}  // namespace morvelak::m31
