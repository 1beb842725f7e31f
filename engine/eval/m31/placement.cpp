// Piece placement: piece-square values of the phase, king shelter and open
// files at the king, closeness to the enemy king, pieces standing in front of
// pawns, the bishop pair, doubled rooks, rooks on files without own pawns,
// and mobility.  Pawn structure is OCPION's.
//
// One body serves both colours: pieces_of<S> scores side S's pieces from S's
// own point of view, and OCPOZ adds White's result and subtracts Black's.
//
// placement_change works out the same score after a move from the score
// before it, for the moves that take no pawn, promote nothing and do not
// castle: then only the terms of the piece that moved and of the piece it
// took can change, with the bishop pair and the doubled rooks of their
// lists; a king that moves brings the other side's pieces nearer or further
// too, and a pawn's step changes the blockade and shelter it stands in.
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

// A piece of side S on s standing on an own pawn's path holds it back; one
// planted in front of an enemy pawn stops it.
template <Side S>
inline int blockade(const i8* pl, int s) {
    using O = Own<S>;
    return (pl[s + O::up] == O::enemyPawn ? EVAL.BLOKADAOBCEGO : 0) -
           (pl[s - O::up] == O::pawn ? EVAL.BLOKADASWOJEGO : 0);
}

// The terms of side S's king on s: the open file, the blockade, the shelter
// of its own pawns, its table value.
template <Side S>
inline int king_terms(const i8* pl, int s, const i8* pionOwn, const i8* pionEnemy) {
    using O = Own<S>;
    const SideTables t = tables_of<S>();
    // Each colour missing from the king's file opens it a little more.
    const int f = FILE_INDEX[s];
    int v = -((pionOwn[f] == 0) + (pionEnemy[f] == 0)) * t.openFile + blockade<S>(pl, s);
    // Shelter: own pawns beside the king and on the three squares in front
    // of it ...
    const int front = s + O::up;
    const int near = (pl[s - 1] == O::pawn) + (pl[s + 1] == O::pawn) + (pl[front - 1] == O::pawn) +
                     (pl[front] == O::pawn) + (pl[front + 1] == O::pawn);
    v += near * EVAL.CHRONIKROLA1;
    // ... and on the three squares two ranks ahead.  Seen from the last rank
    // those lie beyond the board array: no shelter there.
    if (s / 10 != O::lastRank) {
        const int far = s + 2 * O::up;
        const int second = (pl[far - 1] == O::pawn) + (pl[far] == O::pawn) + (pl[far + 1] == O::pawn);
        v += second * EVAL.CHRONIKROLA2;
    }
    return v + t.king[s];
}

// Side S's pieces, kind by kind, each kind in list order.  pionOwn /
// pionEnemy: the most advanced pawn of each colour per file; enemyKing: the
// square of the other king.  Every term but the doubled rooks is a sum over
// the pieces, so the order in which the kinds are visited does not matter.
template <Side S>
int pieces_of(const i8* pl, const i8* list, int count, const i8* pionOwn, const i8* pionEnemy,
              int enemyKing) {
    const SideTables t = tables_of<S>();
    const ListMasks kinds = list_masks<S>(list, count);
    // Closeness of a square s to the enemy king: toKing[100 * s] = ODL[s][enemyKing].
    const i8* const toKing = &ODL[0][enemyKing];
    // The square of the lowest entry of a mask.
    auto square = [&](std::uint32_t m) { return static_cast<int>(list[2 * std::countr_zero(m) + 1]); };

    int v = 0;
    for (std::uint32_t m = kinds.king; m != 0; m &= m - 1) v += king_terms<S>(pl, square(m), pionOwn, pionEnemy);
    for (std::uint32_t m = kinds.knight; m != 0; m &= m - 1) {
        const int s = square(m);
        v += toKing[100 * s] * EVAL.ODLKROLSKOCZEK + blockade<S>(pl, s) + t.knight[s];
    }
    int bishops = 0;
    for (std::uint32_t m = kinds.bishop; m != 0; m &= m - 1) {
        const int s = square(m);
        v += toKing[100 * s] * EVAL.ODLKROLGONIEC + blockade<S>(pl, s) + t.bishop[s];
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
        v += toKing[100 * s] * EVAL.ODLKROLWIEZA + blockade<S>(pl, s) + t.rook[s];
        rookFile = f;
    }
    for (std::uint32_t m = kinds.queen; m != 0; m &= m - 1) {
        const int s = square(m);
        v += toKing[100 * s] * EVAL.ODLKROLHETMAN + blockade<S>(pl, s) + t.queen[s];
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

// The terms of one knight, bishop, rook or queen of side S standing on s that
// depend on that piece alone: its table value, its closeness to the enemy
// king on enemyKing, the blockade, and for a rook the file without own pawns.
// The bishop pair and the doubled rooks depend on the other pieces too and
// are not included.  False for any other code.
template <Side S>
inline bool own_terms(const i8* pl, i8 code, int s, const i8* pionOwn, int enemyKing, int& v) {
    using O = Own<S>;
    const SideTables t = tables_of<S>();
    const int near = ODL[s][enemyKing];
    if (code == O::knight) v = near * EVAL.ODLKROLSKOCZEK + t.knight[s];
    else if (code == O::bishop) v = near * EVAL.ODLKROLGONIEC + t.bishop[s];
    else if (code == O::queen) v = near * EVAL.ODLKROLHETMAN + t.queen[s];
    else if (code == O::rook)
        v = near * EVAL.ODLKROLWIEZA + t.rook[s] + (pionOwn[FILE_INDEX[s]] == 0 ? EVAL.WWOLNALINIA : 0);
    else return false;
    v += blockade<S>(pl, s);
    return true;
}

// A file index no square has, the border's included: a rook not on the board.
inline constexpr int ABSENT = -2;

// The change in the number of doubled rooks of side S's list when its entry
// `entry` stands on file `before` before a move and on `after` after it
// (ABSENT: not on the board).  Each rook is compared with the rook visited
// just before it in list order, so the two sequences are walked side by side.
template <Side S>
inline int doubled_change(const i8* list, int count, int entry, int before, int after) {
    const std::uint32_t rooks = list_masks<S>(list, count).rook | std::uint32_t{1} << entry;
    int lastBefore = -1, lastAfter = -1;  // as pieces_of starts, no rook yet
    int change = 0;
    for (std::uint32_t m = rooks; m != 0; m &= m - 1) {
        const int i = std::countr_zero(m);
        const int file = FILE_INDEX[list[2 * i + 1]];
        const int fb = i == entry ? before : file;
        const int fa = i == entry ? after : file;
        if (fb != ABSENT) {
            change -= fb == lastBefore;
            lastBefore = fb;
        }
        if (fa != ABSENT) {
            change += fa == lastAfter;
            lastAfter = fa;
        }
    }
    return change;
}

// The change of side S's closeness terms (every knight, bishop, rook and
// queen to the enemy king) when that king steps from `from` to `to`.
template <Side S>
inline int closeness_change(const i8* list, int count, int from, int to) {
    const ListMasks kinds = list_masks<S>(list, count);
    auto sum = [&](std::uint32_t m, int weight) {
        int v = 0;
        for (; m != 0; m &= m - 1) {
            const int s = list[2 * std::countr_zero(m) + 1];
            v += ODL[s][to] - ODL[s][from];
        }
        return v * weight;
    };
    return sum(kinds.knight, EVAL.ODLKROLSKOCZEK) + sum(kinds.bishop, EVAL.ODLKROLGONIEC) +
           sum(kinds.rook, EVAL.ODLKROLWIEZA) + sum(kinds.queen, EVAL.ODLKROLHETMAN);
}

// The change of the placement from White's side when side S's pawn has
// stepped from `from` to `to` (taking nothing, not promoting).  The piece now
// right in front of it, of either side, stands in its path; and S's king
// counts its own pawns on three squares beside it and in front of it, and on
// the three two ranks ahead unless it stands on the last rank.
template <Side S>
inline int push_change(const i8* pl, int from, int to, int ownKing) {
    using O = Own<S>;
    using E = Own<Opp<S>>;
    int own = 0, theirs = 0;
    const i8 front = pl[to + O::up];
    if ((front & O::bit) && front != O::pawn) own -= EVAL.BLOKADASWOJEGO;
    else if ((front & E::bit) && front != E::pawn) theirs += EVAL.BLOKADAOBCEGO;
    const int k = ownKing;
    auto near = [&](int x) {
        const int d = x - k - O::up;  // from the square in front of the king
        return x == k - 1 || x == k + 1 || (d >= -1 && d <= 1);
    };
    auto far = [&](int x) {
        const int d = x - k - 2 * O::up;
        return k / 10 != O::lastRank && d >= -1 && d <= 1;
    };
    own += (near(to) - near(from)) * EVAL.CHRONIKROLA1 + (far(to) - far(from)) * EVAL.CHRONIKROLA2;
    return O::sign * (own - theirs);
}

}  // namespace

template <Side S>
bool placement_change(const i8* zap, int nr, int x2, const i8* pionb, const i8* pionc, int& change) {
    using O = Own<S>;
    constexpr Side T = Opp<S>;
    using E = Own<T>;
    const i8 mover = zap[0], taken = zap[2];
    if (!placement_follows<S>(mover, zap[1], x2, taken)) return false;
    const int ownCount = std::clamp<int>(own_count<S>(), 0, LIST_ENTRIES);
    const int oppCount = std::clamp<int>(own_count<T>(), 0, LIST_ENTRIES);
    if (nr < 0 || nr >= ownCount) return false;
    const i8* ownList = own_list<S>();
    const i8* oppList = own_list<T>();
    if (mover == O::pawn) {
        change = push_change<S>(POS.PL, zap[1], x2, king_at(ownList, own_king_index<S>()));
        return true;
    }
    const i8* pionOwn = S == Side::White ? pionb : pionc;
    const i8* pionEnemy = S == Side::White ? pionc : pionb;
    const int from = zap[1];

    // The mover: its terms on the square it left, against those where it
    // stands.  Both are read on the board after the move: neither square
    // holds a pawn before or after it, which is all these terms look for on
    // the squares around a piece.
    // A king that moves also brings the other side's pieces nearer or
    // further, and a piece it took was counted as close to it where it stood.
    int own, kingBefore;
    int theirs = 0;
    if (mover == O::king) {
        own = king_terms<S>(POS.PL, x2, pionOwn, pionEnemy) - king_terms<S>(POS.PL, from, pionOwn, pionEnemy);
        theirs = closeness_change<T>(oppList, oppCount, from, x2);
        kingBefore = from;
    } else {
        const int enemyKing = king_at(oppList, own_king_index<T>());
        int was, is;
        if (!own_terms<S>(POS.PL, mover, from, pionOwn, enemyKing, was) ||
            !own_terms<S>(POS.PL, mover, x2, pionOwn, enemyKing, is))
            return false;
        own = is - was;
        if (mover == O::rook)
            own += doubled_change<S>(ownList, ownCount, nr, FILE_INDEX[from], FILE_INDEX[x2]) * EVAL.WIEZAZDWOJENIE;
        kingBefore = king_at(ownList, own_king_index<S>());
    }

    // The piece taken (its list entry is empty now), with the pair it broke
    // or the doubling it ended: the change of T's own score.
    if (taken != 0) {
        const int entry = zap[3];
        if (entry < 0 || entry >= oppCount) return false;
        int terms;
        if (!own_terms<T>(POS.PL, taken, x2, pionEnemy, kingBefore, terms)) return false;
        theirs -= terms;
        // Every bishop after the first earned the pair bonus: one is lost
        // when a bishop is left.
        if (taken == E::bishop && list_masks<T>(oppList, oppCount).bishop != 0) theirs -= EVAL.PARAGONCOW;
        if (taken == E::rook)
            theirs += doubled_change<T>(oppList, oppCount, entry, FILE_INDEX[x2], ABSENT) * EVAL.WIEZAZDWOJENIE;
    }
    change = O::sign * (own - theirs);
    return true;
}

template bool placement_change<Side::White>(const i8*, int, int, const i8*, const i8*, int&);
template bool placement_change<Side::Black>(const i8*, int, int, const i8*, const i8*, int&);

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
