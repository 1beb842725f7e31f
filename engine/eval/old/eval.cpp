#include "engine/eval/old/eval.hpp"

#include <initializer_list>

#include "driver/history.hpp"
#include "engine/eval/phase.hpp"
#include "engine/position/state.hpp"

namespace morvelak {

namespace {

// Each colour is scored by one section written for "our" side and counted
// in our favour; Black's result is then subtracted.  The mirror turns ranks
// around and keeps files: a square d ranks ahead of s and e files to the
// right is s + 10d + e for White and s - 10d + e for Black.  Where Black's
// scoring is not the plain mirror of White's, the code says so.

template <Side S> constexpr int ahead(int s, int d, int e = 0) { return s + Own<S>::up * d + e; }

// Rank counted from our own side: 1 our back rank, 8 the opponent's.
template <Side S> constexpr int rel_rank(int s) {
    return S == Side::White ? s / 10 : 9 - s / 10;
}

// A square two ranks away from a pawn on the first or last rank lies outside
// the board array; it reads as border.
inline i8 at(const i8* pl, int x) { return x >= 0 && x < 100 ? pl[x] : BORDER; }

// Closeness of two squares, 8 - whole distance.
inline int near(int s, int t) { return 8 - ODLKROL[s][t]; }

// Our most advanced pawn on each file (highest rank for White, lowest for
// Black), 0 = none; entries 0 and 9 are empty neighbours of the a- and
// h-files, so "no pawn on the neighbouring file" needs no edge test.
struct Files {
    const i8* own;
    const i8* enemy;
};

struct Section {
    const i8* pl;
    const i8* list;
    int count;
    Files files;
    int ownKing;
    int enemyKing;
    int mobility;  // ILOSCPOLB / ILOSCPOLC
};

// The square s is not behind our most advanced pawn of its file (or the
// file has none): White's s >= pionb[f], Black's pionc[f] == 0 or
// s <= pionc[f].
template <Side S> bool level_with_own_front(int s, int front) {
    if (front == 0) return true;
    return S == Side::White ? s >= front : s <= front;
}

// Our pawn on s is passed when the enemy has no pawn on its file and, on
// each neighbouring file, either none or a most advanced one that stands
// level with ours or behind it.  Only that one is looked at: further enemy
// pawns up the neighbouring file, ahead of ours, do not stop it.
template <Side S> bool passed(const Files& fl, int s) {
    const int f = s % 10;
    if (fl.enemy[f] != 0) return false;
    for (int n : {f - 1, f + 1}) {
        const int e = fl.enemy[n];
        if (e != 0 && rel_rank<S>(e) > rel_rank<S>(s)) return false;
    }
    return true;
}

// Protected: one of our pawns diagonally behind (the file tests only keep
// the look from wrapping; the mailbox border would stop it anyway).
template <Side S> bool protected_pawn(const i8* pl, int s) {
    const int f = s % 10;
    return (f != 1 && pl[ahead<S>(s, -1, -1)] == Own<S>::pawn) ||
           (f != 8 && pl[ahead<S>(s, -1, +1)] == Own<S>::pawn);
}

// Backward: the pawn is pressed (an enemy pawn two ranks ahead on a
// neighbouring file, or any enemy piece right in front) and no pawn of ours
// stands beside it or behind it on a neighbouring file down to our rank 2.
template <Side S> bool backward(const i8* pl, int s) {
    using O = Own<S>;
    const bool pressed = at(pl, ahead<S>(s, 2, +1)) == O::enemyPawn ||
                         at(pl, ahead<S>(s, 2, -1)) == O::enemyPawn ||
                         (at(pl, ahead<S>(s, 1)) & O::enemy) != 0;
    if (!pressed) return false;
    for (int k = s; rel_rank<S>(k) >= 2; k = ahead<S>(k, -1))
        if (pl[k - 1] == O::pawn || pl[k + 1] == O::pawn) return false;
    return true;
}

// Amounts a minor piece earns from pawns around it: our pawn right behind
// it (it blocks nothing but stands badly), our pawns diagonally behind
// (support), an enemy pawn right in front (blockade), enemy pawns beside it.
struct Contacts {
    int ownBehind, ownDiagonal, enemyAhead, enemyBeside;
};

template <Side S> int pawn_contacts(const i8* pl, int s, Contacts c) {
    using O = Own<S>;
    int v = 0;
    if (pl[ahead<S>(s, -1)] == O::pawn) v += c.ownBehind;
    if (pl[ahead<S>(s, -1, -1)] == O::pawn) v += c.ownDiagonal;
    if (pl[ahead<S>(s, -1, +1)] == O::pawn) v += c.ownDiagonal;
    if (pl[ahead<S>(s, 1)] == O::enemyPawn) v += c.enemyAhead;
    if (pl[s + 1] == O::enemyPawn) v += c.enemyBeside;
    if (pl[s - 1] == O::enemyPawn) v += c.enemyBeside;
    return v;
}

// Our pawns in the three squares in front of the king.
template <Side S> int shelter(const i8* pl, int s) {
    using O = Own<S>;
    const int f = s % 10;
    int v = 0;
    if (f != 1 && pl[ahead<S>(s, 1, -1)] == O::pawn) v += 2;
    if (f != 8 && pl[ahead<S>(s, 1, +1)] == O::pawn) v += 2;
    if (pl[ahead<S>(s, 1)] == O::pawn) v += 2;
    return v;
}

// Both neighbours on the rank (or on the diagonals ahead) are occupied;
// the border counts as occupied.
inline bool both_occupied(const i8* pl, int a, int b) { return pl[a] != EMPTY && pl[b] != EMPTY; }

// Rook looking to its right along the rank, over empty squares and our
// queens, for a partner rook.  Black looks to the right as well: a colour
// mirror keeps the files.
template <Side S> int rook_right_scan(const i8* pl, int s) {
    using O = Own<S>;
    int x = s + 1;
    while (pl[x] == EMPTY || pl[x] == O::queen) ++x;
    return pl[x] == O::rook ? 4 : 0;
}

// Rook looking up its file (towards rank 8) over empty squares for a rook
// or queen of ours.  NOT mirrored: a black rook also looks towards rank 8,
// i.e. behind itself towards its own back rank.  Two rooks on a file earn it
// once for either colour; a rook and a queen differ (White's rook sees the
// queen in front of it, Black's the queen behind it).
template <Side S> int rook_file_scan(const i8* pl, int s) {
    using O = Own<S>;
    for (int x = s + 10; x <= 88; x += 10) {
        if (pl[x] == EMPTY) continue;
        return pl[x] == O::rook || pl[x] == O::queen ? 8 : 0;
    }
    return 0;
}

// Opening: rough piece placement, king shelter and the pieces' contact with
// pawns.
template <Side S> int opening(const PhaseTables& t, const Section& c) {
    using O = Own<S>;
    const i8* pl = c.pl;
    int v = 0;
    for (int i = 0; i < c.count; ++i) {
        const i8 code = c.list[2 * i];
        const int s = c.list[2 * i + 1];
        const int f = s % 10;
        switch (code) {
        case O::king:
            v += t.king[s];
            // White up to square 68, Black from square 31: the mirror of the
            // same rank bound.
            if (rel_rank<S>(s) <= 6) v += shelter<S>(pl, s);
            break;
        case O::pawn:
            v += t.pawn[s];
            if (backward<S>(pl, s)) v -= 15;
            if (protected_pawn<S>(pl, s)) v += rel_rank<S>(s) - 1;  // Black: 8 - r
            if (s != c.files.own[f]) v -= 10;                        // doubled
            break;
        case O::knight:
            v += t.knight[s] + pawn_contacts<S>(pl, s, {-2, 1, 2, 1});
            break;
        case O::bishop:
            v += t.bishop[s];
            if (both_occupied(pl, ahead<S>(s, 1, +1), ahead<S>(s, 1, -1))) v -= 3;
            v += pawn_contacts<S>(pl, s, {-2, 1, 2, 1});
            break;
        case O::rook: {
            v += t.rook[s];
            if (both_occupied(pl, s + 1, s - 1)) v -= 3;
            // Look left along the rank (Black too, not mirrored): +3 for each
            // queen of ours passed, +5 for the first rook of ours met.
            for (int x = s - 1;; --x) {
                if (pl[x] == EMPTY) continue;
                if (pl[x] == O::queen) {
                    v += 3;
                    continue;
                }
                if (pl[x] == O::rook) v += 5;
                break;
            }
            break;
        }
        case O::queen:
            v += t.queen[s];
            break;
        default:
            break;  // a captured piece's entry
        }
    }
    return v;
}

// Middle game: mobility, pawn structure, closeness to the enemy king and
// open files for the heavy pieces.
template <Side S> int middle(const PhaseTables& t, const Section& c) {
    using O = Own<S>;
    const i8* pl = c.pl;
    const i8* own = c.files.own;
    const i8* enemy = c.files.enemy;
    int v = c.mobility;
    for (int i = 0; i < c.count; ++i) {
        const i8 code = c.list[2 * i];
        const int s = c.list[2 * i + 1];
        const int f = s % 10;
        switch (code) {
        case O::king:
            v += t.king[s];
            if (own[f] == 0 && enemy[f] == 0) v -= 5;
            v += shelter<S>(pl, s);
            break;
        case O::pawn: {
            // A pawn of the king's wing is valued as cover, by its closeness
            // to its own king; any other by its table and its closeness to
            // the enemy king.
            const int df = f - c.ownKing % 10;
            if (df >= -1 && df <= 1)
                v += 10 - ODLKROL[s][c.ownKing];
            else
                v += t.pawn[s] + near(s, c.enemyKing);
            if (protected_pawn<S>(pl, s)) v += 2 * rel_rank<S>(s) - 4;  // Black: 2(7 - r)
            if (s != own[f]) v -= 20;                                    // doubled
            if (own[f - 1] == 0 && own[f + 1] == 0) v -= 15;             // isolated
            if (passed<S>(c.files, s)) v += 10;
            break;
        }
        case O::knight:
            v += t.knight[s] + 2 * near(s, c.enemyKing) + pawn_contacts<S>(pl, s, {-2, 0, 2, 1});
            break;
        case O::bishop:
            v += t.bishop[s];
            if (both_occupied(pl, ahead<S>(s, 1, +1), ahead<S>(s, 1, -1))) v -= 2;
            v += near(s, c.enemyKing) + pawn_contacts<S>(pl, s, {-2, 2, 3, 2});
            break;
        case O::rook:
            if (both_occupied(pl, s + 1, s - 1)) v -= 4;
            if (own[f] == 0) v += 6;
            if (enemy[f] == 0 && level_with_own_front<S>(s, own[f])) v += 7;
            v += t.rook[s] + rook_right_scan<S>(pl, s) + rook_file_scan<S>(pl, s);
            break;
        case O::queen:
            if (own[f] == 0) v += 5;
            if (enemy[f] == 0 && level_with_own_front<S>(s, own[f])) v += 6;
            v += 2 * near(s, c.enemyKing) + t.queen[s];
            break;
        default:
            break;
        }
    }
    return v;
}

// Endgame: half the mobility, pawns by their structure and their own king's
// support, pieces by activity and open files.
template <Side S> int endgame(const PhaseTables& t, const Section& c) {
    using O = Own<S>;
    const i8* pl = c.pl;
    const i8* own = c.files.own;
    int v = c.mobility / 2;
    for (int i = 0; i < c.count; ++i) {
        const i8 code = c.list[2 * i];
        const int s = c.list[2 * i + 1];
        const int f = s % 10;
        switch (code) {
        case O::king:
            v += t.king[s];
            break;
        case O::pawn:
            if (backward<S>(pl, s)) v -= 15;
            v += t.pawn[s] + near(s, c.ownKing);
            if (protected_pawn<S>(pl, s)) v += 2 * rel_rank<S>(s) - 2;  // Black: 2(8 - r)
            // Every pawn of ours behind it on the file, down to our rank 2,
            // so a tripled file pays 2 + 1 + 0 times.
            for (int x = ahead<S>(s, -1); rel_rank<S>(x) >= 2; x = ahead<S>(x, -1))
                if (pl[x] == O::pawn) v -= 25;
            // Isolated: nothing of ours on ranks 2 to 7 of the neighbouring
            // files, which is what the file fronts record.
            if (own[f - 1] == 0 && own[f + 1] == 0) v -= 20;
            break;
        case O::knight:
            v += t.knight[s] + near(s, c.enemyKing) + pawn_contacts<S>(pl, s, {-2, 0, 3, 2});
            break;
        case O::bishop:
            v += t.bishop[s] + pawn_contacts<S>(pl, s, {-2, 2, 4, 3});
            break;
        case O::rook:
            v += t.rook[s] + 5 * otwartalinia(pl, f);
            v += rook_right_scan<S>(pl, s) + rook_file_scan<S>(pl, s);
            break;
        case O::queen:
            v += 2 * otwartalinia(pl, f) + t.queen[s];
            break;
        default:
            break;
        }
    }
    return v;
}

template <Side S> int section(int phase, const TableSet& tables, const Section& c) {
    const PhaseTables* t = S == Side::White ? tables.white : tables.black;
    switch (phase) {
    case 0: return opening<S>(t[0], c);
    case 1: return middle<S>(t[1], c);
    default: return endgame<S>(t[2], c);
    }
}

}  // namespace

int otwartalinia(const i8* pl, int c) {
    for (int s = 10 + c; s <= 70 + c; s += 10)
        if (pl[s] == W_PAWN || pl[s] == B_PAWN) return 0;
    return 1;
}

int ocpoz_with(const TableSet& tables, const i8* pl, const i8* bp, const i8* cp) {
    // File fronts over ranks 2 to 7: White's highest pawn, Black's lowest.
    i8 pionb[10] = {};
    i8 pionc[10] = {};
    for (int f = 1; f <= 8; ++f) {
        for (int s = 20 + f; s <= 70 + f; s += 10) {
            if (pl[s] == W_PAWN) pionb[f] = static_cast<i8>(s);
            if (pl[s] == B_PAWN && pionc[f] == 0) pionc[f] = static_cast<i8>(s);
        }
    }
    const int kw = bp[2 * KROLB + 1];
    const int kb = cp[2 * KROLC + 1];
    const Section white{pl, bp, ILB, {pionb, pionc}, kw, kb, ILOSCPOLB};
    const Section black{pl, cp, ILC, {pionc, pionb}, kb, kw, ILOSCPOLC};
    return section<Side::White>(STANB, tables, white) - section<Side::Black>(STANC, tables, black);
}

void wstawstan_old() { decide_phase(R, 6, 11); }

namespace m28 {
int OCPOZ(const i8* pl, const i8* bp, const i8* cp) { return ocpoz_with(TABLES, pl, bp, cp); }
void wstawstan() { wstawstan_old(); }
}  // namespace m28

namespace m26 {
int OCPOZ(const i8* pl, const i8* bp, const i8* cp) { return ocpoz_with(TABLES, pl, bp, cp); }
void wstawstan() { wstawstan_old(); }
}  // namespace m26

}  // namespace morvelak
