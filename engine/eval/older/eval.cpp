#include "engine/eval/older/eval.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <initializer_list>

#include "engine/eval/listmasks.hpp"
#include "engine/eval/pawnmasks.hpp"
#include "engine/eval/phase.hpp"
#include "engine/position/position.hpp"
#include "util/checks.hpp"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace morvelak::older {

namespace {

using u32 = std::uint32_t;

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
    // Worked out in full, without a jump on each file.
    bool free = fl.enemy[f] == 0;
    for (int n : {f - 1, f + 1}) {
        const int e = fl.enemy[n];
        free &= !((e != 0) & (rel_rank<S>(e) > rel_rank<S>(s)));
    }
    return free;
}

// Protected: one of our pawns diagonally behind (the file tests only keep
// the look from wrapping; the mailbox border would stop it anyway).
template <Side S> bool protected_pawn(const i8* pl, int s) {
    const int f = s % 10;
    return (f != 1 && pl[ahead<S>(s, -1, -1)] == Own<S>::pawn) ||
           (f != 8 && pl[ahead<S>(s, -1, +1)] == Own<S>::pawn);
}

// How a pawn's terms look at our other pawns: protection from diagonally
// behind and pawns behind it on its file.  The plain way reads the board
// square by square; the fast way reads the pawn mask (LookInMask, below).
template <Side S> struct LookOnBoard {
    const i8* pl;
    bool protects(int s) const { return protected_pawn<S>(pl, s); }
    // Our pawns behind s on its file, down to our rank 2.
    int behind(int s) const {
        int n = 0;
        for (int x = ahead<S>(s, -1); rel_rank<S>(x) >= 2; x = ahead<S>(x, -1)) n += pl[x] == Own<S>::pawn;
        return n;
    }
};

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

template <Side S> [[gnu::always_inline]] inline int pawn_contacts(const i8* pl, int s, Contacts c) {
    using O = Own<S>;
    return c.ownBehind * (pl[ahead<S>(s, -1)] == O::pawn) +
           c.ownDiagonal * ((pl[ahead<S>(s, -1, -1)] == O::pawn) + (pl[ahead<S>(s, -1, +1)] == O::pawn)) +
           c.enemyAhead * (pl[ahead<S>(s, 1)] == O::enemyPawn) +
           c.enemyBeside * ((pl[s + 1] == O::enemyPawn) + (pl[s - 1] == O::enemyPawn));
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

#if defined(__SSE2__)
// Bit i set when p[i] holds code, for the eight bytes p[0..7].
inline u32 row_codes_mask(const i8* p, i8 code) {
    const __m128i v = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p));
    return static_cast<u32>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_set1_epi8(code)))) & 0xFF;
}
#endif

// Both neighbours on the rank (or on the diagonals ahead) are occupied;
// the border counts as occupied.
inline bool both_occupied(const i8* pl, int a, int b) { return pl[a] != EMPTY && pl[b] != EMPTY; }

// Rook looking to its right along the rank, over empty squares and our
// queens, for a partner rook.  Black looks to the right as well: a colour
// mirror keeps the files.
template <Side S> int rook_right_scan(const i8* pl, int s) {
    using O = Own<S>;
#if defined(__SSE2__)
    // The eight squares to the right of a playing square reach the rank's
    // border square; the first that is neither empty nor our queen is found
    // by one bit scan over a mask of the squares looked past.
    const u32 past = row_codes_mask(pl + s + 1, EMPTY) | row_codes_mask(pl + s + 1, O::queen);
    const int k = std::countr_zero(~past);  // 8 if nothing stops the look (no border)
    return k < 8 && pl[s + 1 + k] == O::rook ? 4 : 0;
#else
    int x = s + 1;
    while (pl[x] == EMPTY || pl[x] == O::queen) ++x;
    return pl[x] == O::rook ? 4 : 0;
#endif
}

// Rook looking left along the rank (Black too, not mirrored): +3 for each
// queen of ours passed, +5 for the first rook of ours met.
template <Side S> int rook_left_scan(const i8* pl, int s) {
    using O = Own<S>;
    // A rook of the opening mostly stands in its corner, a step from the
    // border: the walk is shorter than any wide look.
    int v = 0;
    for (int x = s - 1;; --x) {
        if (pl[x] == EMPTY) continue;
        if (pl[x] == O::queen) {
            v += 3;
            continue;
        }
        if (pl[x] == O::rook) v += 5;
        break;
    }
    return v;
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

// A piece's terms fall in two groups.  The fixed ones read nothing but its
// own square, the pawns and the two kings, so they stay as they are while
// the pawns and the kings stand still, whatever the other pieces do: the
// king's, knight's and queen's terms, the bishop's table and pawn contacts,
// the rook's table and its file's pawns.  The others look at whether
// squares near the piece or along its lines are occupied: the bishop's
// blocked diagonals and the rook's neighbours and its scans along the rank
// and up the file.
enum class Terms { All, Fixed, Occupancy };

template <Terms P> constexpr bool has_fixed = P != Terms::Occupancy;
template <Terms P> constexpr bool has_occupancy = P != Terms::Fixed;

// Opening: rough piece placement, king shelter and the pieces' contact with
// pawns.  One entry of the list: a piece of kind `code` on s.
template <Side S, Terms P = Terms::All>
[[gnu::always_inline]] inline int opening_piece(const PhaseTables& t, const Section& c, i8 code, int s) {
    using O = Own<S>;
    const i8* pl = c.pl;
    switch (code) {
    case O::king:
        if constexpr (!has_fixed<P>) return 0;
        // White up to square 68, Black from square 31: the mirror of the
        // same rank bound.
        return t.king[s] + (rel_rank<S>(s) <= 6 ? shelter<S>(pl, s) : 0);
    case O::knight:
        if constexpr (!has_fixed<P>) return 0;
        return t.knight[s] + pawn_contacts<S>(pl, s, {-2, 1, 2, 1});
    case O::bishop: {
        int v = 0;
        if constexpr (has_fixed<P>) v += t.bishop[s] + pawn_contacts<S>(pl, s, {-2, 1, 2, 1});
        if constexpr (has_occupancy<P>)
            if (both_occupied(pl, ahead<S>(s, 1, +1), ahead<S>(s, 1, -1))) v -= 3;
        return v;
    }
    case O::rook: {
        int v = 0;
        if constexpr (has_fixed<P>) v += t.rook[s];
        if constexpr (!has_occupancy<P>) return v;
        if (both_occupied(pl, s + 1, s - 1)) v -= 3;
        return v + rook_left_scan<S>(pl, s);
    }
    case O::queen:
        if constexpr (!has_fixed<P>) return 0;
        return t.queen[s];
    default:
        return 0;  // a captured piece's entry
    }
}

template <Side S, class Look>
int opening_pawn(const PhaseTables& t, const Section& c, int s, const Look& look) {
    const int f = s % 10;
    int v = t.pawn[s];
    v += look.protects(s) * (rel_rank<S>(s) - 1);  // Black: 8 - r
    v -= 10 * (s != c.files.own[f]);               // doubled
    return v;
}

// Middle game: pawn structure, closeness to the enemy king and open files
// for the heavy pieces.
template <Side S, Terms P = Terms::All>
[[gnu::always_inline]] inline int middle_piece(const PhaseTables& t, const Section& c, i8 code, int s) {
    using O = Own<S>;
    const i8* pl = c.pl;
    const i8* own = c.files.own;
    const i8* enemy = c.files.enemy;
    const int f = s % 10;
    switch (code) {
    case O::king: {
        if constexpr (!has_fixed<P>) return 0;
        int v = t.king[s];
        if (own[f] == 0 && enemy[f] == 0) v -= 5;
        return v + shelter<S>(pl, s);
    }
    case O::knight:
        if constexpr (!has_fixed<P>) return 0;
        return t.knight[s] + 2 * near(s, c.enemyKing) + pawn_contacts<S>(pl, s, {-2, 0, 2, 1});
    case O::bishop: {
        int v = 0;
        if constexpr (has_fixed<P>)
            v += t.bishop[s] + near(s, c.enemyKing) + pawn_contacts<S>(pl, s, {-2, 2, 3, 2});
        if constexpr (has_occupancy<P>)
            if (both_occupied(pl, ahead<S>(s, 1, +1), ahead<S>(s, 1, -1))) v -= 2;
        return v;
    }
    case O::rook: {
        int v = 0;
        if constexpr (has_fixed<P>) {
            if (own[f] == 0) v += 6;
            if (enemy[f] == 0 && level_with_own_front<S>(s, own[f])) v += 7;
            v += t.rook[s];
        }
        if constexpr (has_occupancy<P>) {
            if (both_occupied(pl, s + 1, s - 1)) v -= 4;
            v += rook_right_scan<S>(pl, s) + rook_file_scan<S>(pl, s);
        }
        return v;
    }
    case O::queen: {
        if constexpr (!has_fixed<P>) return 0;
        int v = 0;
        if (own[f] == 0) v += 5;
        if (enemy[f] == 0 && level_with_own_front<S>(s, own[f])) v += 6;
        return v + 2 * near(s, c.enemyKing) + t.queen[s];
    }
    default:
        return 0;
    }
}

template <Side S, class Look>
int middle_pawn(const PhaseTables& t, const Section& c, int s, const Look& look) {
    const i8* own = c.files.own;
    const int f = s % 10;
    // A pawn of the king's wing is valued as cover, by its closeness to its
    // own king; any other by its table and its closeness to the enemy king.
    // Both are worked out and one is kept: a build of a new placement meets
    // each pawn once, and a jump on it would be a guess.
    const int df = f - c.ownKing % 10;
    const int cover = 10 - ODLKROL[s][c.ownKing];
    const int field = t.pawn[s] + near(s, c.enemyKing);
    int v = df >= -1 && df <= 1 ? cover : field;
    v += look.protects(s) * (2 * rel_rank<S>(s) - 4);  // Black: 2(7 - r)
    v -= 20 * (s != own[f]);                           // doubled
    v -= 15 * ((own[f - 1] | own[f + 1]) == 0);        // isolated
    v += 10 * passed<S>(c.files, s);
    return v;
}

// Endgame: pawns by their structure and their own king's support, pieces by
// activity and open files.  `open` tells whether a file is free of pawns.
template <Side S, Terms P = Terms::All, class Open>
[[gnu::always_inline]] inline int endgame_piece(const PhaseTables& t, const Section& c, i8 code, int s,
                                                Open&& open) {
    using O = Own<S>;
    const i8* pl = c.pl;
    switch (code) {
    case O::king:
        if constexpr (!has_fixed<P>) return 0;
        return t.king[s];
    case O::knight: {
        if constexpr (!has_fixed<P>) return 0;
        // Its closeness to the enemy king is left out of the fixed terms:
        // the fast way adds it on every call (endgame_closeness).
        const int v = t.knight[s] + pawn_contacts<S>(pl, s, {-2, 0, 3, 2});
        if constexpr (P == Terms::All) return v + near(s, c.enemyKing);
        return v;
    }
    case O::bishop:
        // No blocked diagonals in the endgame: all of it is fixed.
        if constexpr (!has_fixed<P>) return 0;
        return t.bishop[s] + pawn_contacts<S>(pl, s, {-2, 2, 4, 3});
    case O::rook: {
        int v = 0;
        if constexpr (has_fixed<P>) v += t.rook[s] + 5 * open(s % 10);
        if constexpr (has_occupancy<P>) v += rook_right_scan<S>(pl, s) + rook_file_scan<S>(pl, s);
        return v;
    }
    case O::queen:
        if constexpr (!has_fixed<P>) return 0;
        return 2 * open(s % 10) + t.queen[s];
    default:
        return 0;
    }
}

// All but the pawn's closeness to its own king, which pawn_value adds: the
// rest is a function of the pawns alone.
template <Side S, class Look>
int endgame_pawn(const PhaseTables& t, const Section& c, int s, const Look& look) {
    const i8* own = c.files.own;
    const int f = s % 10;
    int v = t.pawn[s];
    v += look.protects(s) * (2 * rel_rank<S>(s) - 2);  // Black: 2(8 - r)
    // Every pawn of ours behind it on the file, down to our rank 2, so a
    // tripled file pays 2 + 1 + 0 times.
    v -= 25 * look.behind(s);
    // Isolated: nothing of ours on ranks 2 to 7 of the neighbouring files,
    // which is what the file fronts record.
    v -= 20 * ((own[f - 1] | own[f + 1]) == 0);
    return v;
}

// The phase of a colour as its section reads it: 0, 1, anything else the
// endgame.
inline int section_of(int phase) { return static_cast<int>(std::min(static_cast<unsigned>(phase), 2u)); }

// A pawn's terms but its closeness to its own king in the endgame: what
// the pawn section keeps.
// The fast way knows the phase when it is compiled (Ph); the plain way asks
// at run time.
template <Side S, int Ph, class Look>
int pawn_structure(const PhaseTables& t, const Section& c, int s, const Look& look) {
    if constexpr (Ph == 0) return opening_pawn<S>(t, c, s, look);
    else if constexpr (Ph == 1) return middle_pawn<S>(t, c, s, look);
    else return endgame_pawn<S>(t, c, s, look);
}

template <Side S> int pawn_value(int phase, const PhaseTables& t, const Section& c, int s) {
    const LookOnBoard<S> look{c.pl};
    switch (phase) {
    case 0: return pawn_structure<S, 0>(t, c, s, look);
    case 1: return pawn_structure<S, 1>(t, c, s, look);
    default: return pawn_structure<S, 2>(t, c, s, look) + near(s, c.ownKing);
    }
}

// ---------------------------------------------------------------------------
// The plain way: every entry of each list in turn, each pawn with its own
// look at the board.  Serves boards with a pawn on the first or last rank,
// table sets other than the two builds' own, and lists that do not hold
// exactly the pawns of the board.
// ---------------------------------------------------------------------------

template <Side S> int section_plain(int phase, const TableSet& tables, const Section& c) {
    using O = Own<S>;
    const PhaseTables& t = (S == Side::White ? tables.white : tables.black)[phase];
    int v = phase == 1 ? c.mobility : phase == 2 ? c.mobility / 2 : 0;
    for (int i = 0; i < c.count; ++i) {
        const i8 code = c.list[2 * i];
        const int s = c.list[2 * i + 1];
        if (code == O::pawn) {
            v += pawn_value<S>(phase, t, c, s);
            // Backward pawns count in the opening and in the endgame.
            if (phase != 1 && backward<S>(c.pl, s)) v -= 15;
        } else if (phase == 0) {
            v += opening_piece<S>(t, c, code, s);
        } else if (phase == 1) {
            v += middle_piece<S>(t, c, code, s);
        } else {
            v += endgame_piece<S>(t, c, code, s, [&](int f) { return otwartalinia(c.pl, f); });
        }
    }
    return v;
}

[[gnu::noinline]] int ocpoz_plain(const TableSet& tables, const i8* pl, const i8* bp, const i8* cp,
                                  int nb, int nc, int phaseB, int phaseC) {
    // File fronts over ranks 2 to 7: White's highest pawn, Black's lowest.
    i8 pionb[10] = {};
    i8 pionc[10] = {};
    for (int f = 1; f <= 8; ++f) {
        for (int s = 20 + f; s <= 70 + f; s += 10) {
            if (pl[s] == W_PAWN) pionb[f] = static_cast<i8>(s);
            if (pl[s] == B_PAWN && pionc[f] == 0) pionc[f] = static_cast<i8>(s);
        }
    }
    const int kw = bp[2 * POS.KROLB + 1];
    const int kb = cp[2 * POS.KROLC + 1];
    const Section white{pl, bp, nb, {pionb, pionc}, kw, kb, EVAL.ILOSCPOLB};
    const Section black{pl, cp, nc, {pionc, pionb}, kb, kw, EVAL.ILOSCPOLC};
    return section_plain<Side::White>(phaseB, tables, white) -
           section_plain<Side::Black>(phaseC, tables, black);
}

// ---------------------------------------------------------------------------
// The fast way.  The pawns' part of each section is a function of where the
// pawns and the kings stand, the two phases and the build's tables, with
// one exception: a pawn without support that no enemy pawn presses is
// backward only while an enemy piece stands right in front of it.  That
// part is worked out once per placement and kept in a small table
// (EVAL.PAWN_SECTIONS, eval.hpp), with the file fronts; the pieces are
// scored on every call.
// ---------------------------------------------------------------------------

inline u64 pawn_section_slot(u64 white, u64 black, int kw, int kb, int setting) {
    const u64 h = white * 0x9E3779B97F4A7C15ULL ^ black * 0xC2B2AE3D27D4EB4FULL ^
                  static_cast<u64>(kw | kb << 8 | setting << 16) * 0x165667B19E3779F9ULL;
    return h >> (64 - PAWN_SECTION_BITS);
}

// The tables of build 1 (m28) or 2 (m26), for the code compiled for one.
template <int Build>
constexpr const TableSet& tables_of_build() {
    static_assert(Build == 1 || Build == 2);
    if constexpr (Build == 1) return m28::TABLES;
    else return m26::TABLES;
}

// The bit of square x in the pawn masks, 0 for a square outside them.
constexpr u64 mask_bit(int x) {
    const int i = x - PAWN_MASK_BASE;
    return i >= 0 && i < 58 ? u64{1} << i : 0;
}

// For our pawn on s: the squares beside it or behind it on the neighbouring
// files, down to our rank 2, where a pawn of ours supports it; and the
// squares where an enemy pawn presses it (two ranks ahead on a neighbouring
// file, or right in front).  By square, 100 entries.
template <Side S> constexpr std::array<u64, 100> support_masks() {
    std::array<u64, 100> m{};
    for (int s = 0; s < 100; ++s)
        for (int k = s; rel_rank<S>(k) >= 2; k = ahead<S>(k, -1)) m[s] |= mask_bit(k - 1) | mask_bit(k + 1);
    return m;
}

template <Side S> constexpr std::array<u64, 100> press_masks() {
    std::array<u64, 100> m{};
    for (int s = 0; s < 100; ++s)
        m[s] = mask_bit(ahead<S>(s, 2, +1)) | mask_bit(ahead<S>(s, 2, -1)) | mask_bit(ahead<S>(s, 1));
    return m;
}

// For our pawn on s: the two squares diagonally behind it, and the squares
// behind it on its file down to our rank 2.  Squares off the masks (the
// border, the first and last ranks) have no bit: no pawn stands there when
// the fast way runs.
template <Side S> constexpr std::array<u64, 100> protector_masks() {
    std::array<u64, 100> m{};
    for (int s = 0; s < 100; ++s) m[s] = mask_bit(ahead<S>(s, -1, -1)) | mask_bit(ahead<S>(s, -1, +1));
    return m;
}

template <Side S> constexpr std::array<u64, 100> behind_masks() {
    std::array<u64, 100> m{};
    for (int s = 0; s < 100; ++s)
        for (int x = ahead<S>(s, -1); rel_rank<S>(x) >= 2; x = ahead<S>(x, -1)) m[s] |= mask_bit(x);
    return m;
}

template <Side S> inline constexpr std::array<u64, 100> SUPPORT = support_masks<S>();
template <Side S> inline constexpr std::array<u64, 100> PRESS = press_masks<S>();
template <Side S> inline constexpr std::array<u64, 100> PROTECTORS = protector_masks<S>();
template <Side S> inline constexpr std::array<u64, 100> BEHIND = behind_masks<S>();

// Our other pawns as the pawn mask shows them, for a board with no pawn on
// the first or last rank.
template <Side S> struct LookInMask {
    u64 own;
    bool protects(int s) const { return (own & PROTECTORS<S>[s]) != 0; }
    int behind(int s) const {
        const u64 m = own & BEHIND<S>[s];
        return m == 0 ? 0 : count_bits(m);
    }
};

// Side S's pawn terms over the pawns of its mask; `ask` collects the pawns
// whose backward test waits for the pieces.  A pawn of ours with none of
// ours beside or behind it on a neighbouring file is backward as soon as it
// is pressed.
template <Side S, int Ph>
int pawns_of(const PhaseTables& t, const Section& c, u64 own, u64 enemy, u64& ask) {
    int v = 0;
    ask = 0;
    for (u64 m = own; m != 0; m &= m - 1) {
        const int i = std::countr_zero(m);
        const int s = PAWN_MASK_BASE + i;
        v += pawn_structure<S, Ph>(t, c, s, LookInMask<S>{own});
        if constexpr (Ph != 1) {
            // Pressed by an enemy pawn two ranks ahead on a neighbouring
            // file or right in front: backward whatever the pieces do.
            // Worked out without a jump: which way it goes turns on the
            // placement, and no processor foresees that.
            const u64 alone = (own & SUPPORT<S>[s]) == 0;
            const u64 pressed = (enemy & PRESS<S>[s]) != 0;
            v -= 15 * static_cast<int>(alone & pressed);
            ask |= (alone & ~pressed & 1) << i;
        }
    }
    return v;
}

// kw and kb are the kings as the key holds them: 0 while no pawn term reads
// a king.
template <int PB, int PC, int Build>
[[gnu::noinline]] void build_pawn_section(PawnSection& e, const i8* pl, const PawnMasks& pm, int kw, int kb,
                                          int setting) {
    constexpr const TableSet& tables = tables_of_build<Build>();
    e.white = pm.white;
    e.black = pm.black;
    e.kw = static_cast<u8>(kw);
    e.kb = static_cast<u8>(kb);
    e.setting = static_cast<u8>(setting);
    e.countW = static_cast<u8>(count_bits(pm.white));
    e.countB = static_cast<u8>(count_bits(pm.black));
    // File fronts: White's highest pawn, Black's lowest.
    for (int f = 0; f < 10; ++f) e.pionb[f] = e.pionc[f] = 0;
    for (int f = 1; f <= 8; ++f) {
        const u64 file = pawn_file_mask(f - 1);
        const u64 w = pm.white & file, b = pm.black & file;
        e.pionb[f] = static_cast<i8>(w != 0 ? PAWN_MASK_BASE + 63 - std::countl_zero(w) : 0);
        e.pionc[f] = static_cast<i8>(b != 0 ? PAWN_MASK_BASE + std::countr_zero(b) : 0);
    }
    const Section white{pl, nullptr, 0, {e.pionb, e.pionc}, kw, kb, 0};
    const Section black{pl, nullptr, 0, {e.pionc, e.pionb}, kb, kw, 0};
    e.valueW = static_cast<std::int16_t>(
        pawns_of<Side::White, PB>(tables.white[PB], white, pm.white, pm.black, e.askW));
    e.valueB = static_cast<std::int16_t>(
        pawns_of<Side::Black, PC>(tables.black[PC], black, pm.black, pm.white, e.askB));
}

// The list's pawns are exactly the board's: every pawn entry on a square of
// ranks 2 to 7, no square twice, as many entries as pawns on the board.
inline bool list_holds(const i8* list, u32 entries, u64 board, int count) {
    u64 seen = 0;
    int n = 0;
    for (; entries != 0; entries &= entries - 1) {
        const int i = list[2 * std::countr_zero(entries) + 1] - PAWN_MASK_BASE;
        if (i < 0 || i >= 58) return false;
        seen |= u64{1} << i;
        ++n;
    }
    return seen == board && n == count;
}

// No pawn on file f: with no pawn on the first rank, the masks of ranks 2
// to 7 tell.
inline auto open_files(u64 pawns) {
    return [pawns](int f) { return (pawns & pawn_file_mask(f - 1)) == 0 ? 1 : 0; };
}

// One entry's fixed terms as the piece memo keeps them, in a byte; with
// self-checks on, a term the byte cannot hold is reported, not cut short.
inline i8 kept_term(int x) {
    if constexpr (CHECKS)
        check_equal(static_cast<int>(static_cast<i8>(x)), x, "older evaluation: a kept term fits a byte");
    return static_cast<i8>(x);
}

// Side S's pieces other than pawns in its phase, the terms of group P; the
// occupancy group carries the mobility as well.  Each kind is visited on its
// own, so that the piece's terms are known when the loop is compiled.  The
// fixed group also writes each entry's terms to `terms` (all 16 entries,
// 0 for pawns, holes and entries not in use).
template <Side S, Terms P, int Ph>
[[gnu::always_inline]] inline int pieces_of(const PhaseTables& t, const Section& c, const ListMasks& kinds, u64 pawns,
              i8* terms = nullptr) {
    using O = Own<S>;
    constexpr bool record = P == Terms::Fixed;
    if constexpr (record) std::fill_n(terms, LIST_ENTRIES, i8{0});
    int v = 0;
    auto each = [&](u32 m, auto code, auto&& value) {
        for (; m != 0; m &= m - 1) {
            const int i = std::countr_zero(m);
            const int x = value(code(), c.list[2 * i + 1]);
            if constexpr (record) terms[i] = kept_term(x);
            v += x;
        }
    };
    auto all = [&](auto&& value) {
        if constexpr (has_fixed<P>) {
            each(kinds.king, [] { return O::king; }, value);
            each(kinds.knight, [] { return O::knight; }, value);
            each(kinds.queen, [] { return O::queen; }, value);
        }
        each(kinds.bishop, [] { return O::bishop; }, value);
        each(kinds.rook, [] { return O::rook; }, value);
    };
    if constexpr (Ph == 0) {
        all([&](i8 code, int s) { return opening_piece<S, P>(t, c, code, s); });
    } else if constexpr (Ph == 1) {
        if constexpr (has_occupancy<P>) v += c.mobility;
        all([&](i8 code, int s) { return middle_piece<S, P>(t, c, code, s); });
    } else {
        if constexpr (has_occupancy<P>) v += c.mobility / 2;
        all([&](i8 code, int s) { return endgame_piece<S, P>(t, c, code, s, open_files(pawns)); });
    }
    return v;
}

// The fixed terms of one list entry, whatever its code.
template <Side S, int Ph>
int fixed_terms(const PhaseTables& t, const Section& c, i8 code, int s, u64 pawns) {
    if constexpr (Ph == 0) return opening_piece<S, Terms::Fixed>(t, c, code, s);
    else if constexpr (Ph == 1) return middle_piece<S, Terms::Fixed>(t, c, code, s);
    else return endgame_piece<S, Terms::Fixed>(t, c, code, s, open_files(pawns));
}

// The entries among `used` of two lists that differ in code or square, one
// bit each (bit i for entry i).
inline u32 changed_entries(const i8* list, const i8* kept, u32 used) {
#if defined(__SSE2__)
    auto half = [&](int k) {
        return _mm_cmpeq_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(list + 16 * k)),
                               _mm_loadu_si128(reinterpret_cast<const __m128i*>(kept + 16 * k)));
    };
    // An equal entry compares as 0xFFFF, which packs to one 0xFF byte.
    const u32 same = static_cast<u32>(_mm_movemask_epi8(_mm_packs_epi16(half(0), half(1))));
    return ~same & used;
#else
    u32 m = 0;
    for (int i = 0; i < LIST_ENTRIES; ++i)
        if (list[2 * i] != kept[2 * i] || list[2 * i + 1] != kept[2 * i + 1]) m |= u32{1} << i;
    return m & used;
#endif
}

// Brings side S's fixed sum and entry terms from the kept list to the list
// of c: each entry that differs gives up its kept terms for those of its new
// code and square.  Tells whether a pawn entry changed, so that the list's
// pawns have to be checked against the board again.
template <Side S, int Ph>
[[gnu::always_inline]] inline bool rescore_changed(const PhaseTables& t, const Section& c, const i8* kept, u32 used,
                     u64 pawns, i8* terms, int& sum) {
    bool pawnChanged = false;
    for (u32 m = changed_entries(c.list, kept, used); m != 0; m &= m - 1) {
        const int i = std::countr_zero(m);
        const i8 now = c.list[2 * i];
        pawnChanged |= kept[2 * i] == Own<S>::pawn || now == Own<S>::pawn;
        const int x = fixed_terms<S, Ph>(t, c, now, c.list[2 * i + 1], pawns);
        sum += x - terms[i];
        terms[i] = kept_term(x);
    }
    return pawnChanged;
}

// With self-checks on: the kept terms of each entry in use, and their sum,
// against a full recount.
template <Side S, int Ph>
void check_kept(const PhaseTables& t, const Section& c, const ListMasks& kinds, u64 pawns,
                const i8* terms, int sum) {
    i8 fresh[LIST_ENTRIES];
    check_equal(sum, pieces_of<S, Terms::Fixed, Ph>(t, c, kinds, pawns, fresh),
                "older evaluation: fixed piece terms of a list");
    for (int i = 0; i < c.count; ++i) check_equal(terms[i], fresh[i], "older evaluation: fixed terms of an entry");
}

// Side S's kinds of pieces: all of them, or only those whose terms read the
// occupancy of other squares.
template <Side S> ListMasks all_kinds(const ListCodes& codes) {
    using O = Own<S>;
    return {codes.holding(O::king),   codes.holding(O::pawn), codes.holding(O::knight),
            codes.holding(O::bishop), codes.holding(O::rook), codes.holding(O::queen)};
}

template <Side S> ListMasks occupancy_kinds(const ListCodes& codes) {
    using O = Own<S>;
    return {0, 0, 0, codes.holding(O::bishop), codes.holding(O::rook), 0};
}

// In the endgame, the terms that follow the kings and are left out of the
// pawn section and the kept piece terms: each pawn's closeness to its own
// king, each knight's to the enemy king.  Keeping them out lets a king move
// keep both.  The pawns' part is looked up in EVAL.CLOSENESS by pawns and
// king square.
template <Side S> int endgame_closeness(const Section& c, u64 pawns, u32 knights) {
    int v = EVAL.CLOSENESS.sum(pawns, c.ownKing, near);
    for (; knights != 0; knights &= knights - 1) v += near(c.list[2 * std::countr_zero(knights) + 1], c.enemyKing);
    return v;
}

// The waiting pawns that an enemy piece in front makes backward.
template <Side S> int ask_backward(const i8* pl, u64 ask) {
    int v = 0;
    for (; ask != 0; ask &= ask - 1) {
        const int s = PAWN_MASK_BASE + std::countr_zero(ask);
        if (pl[ahead<S>(s, 1)] & Own<S>::enemy) v -= 15;
    }
    return v;
}

}  // namespace

int otwartalinia(const i8* pl, int c) {
    for (int s = 10 + c; s <= 70 + c; s += 10)
        if (pl[s] == W_PAWN || pl[s] == B_PAWN) return 0;
    return 1;
}

namespace {

// The fast way for White in phase PB and Black in phase PC, known when it
// is compiled: every choice between the phases' terms is made once, by the
// caller's switch, instead of in each routine on every call.
template <int PB, int PC, int Build>
int ocpoz_fast(const i8* pl, const i8* bp, const i8* cp, int nb, int nc, const PawnMasks& pm, int kw, int kb) {
    constexpr const TableSet& tables = tables_of_build<Build>();
    const ListCodes codesW(bp, nb), codesB(cp, nc);
    const int setting = Build * 9 + PB * 3 + PC;
    // Outside the middle game no pawn term and no kept piece term looks at a
    // king other than its own entry (the endgame's closeness to the kings is
    // added on every call), so the kings stay out of the key unless a colour
    // is in the middle game: a king move then keeps its section and the kept
    // piece terms.
    constexpr bool kingsMatter = PB == 1 || PC == 1;
    const int keyW = kingsMatter ? kw : 0, keyB = kingsMatter ? kb : 0;
    const u64 slot = pawn_section_slot(pm.white, pm.black, keyW, keyB, setting);
    PawnSection& e = EVAL.PAWN_SECTIONS[slot];
    PieceMemo& memo = EVAL.PIECE_MEMOS[slot];
    if (e.white != pm.white || e.black != pm.black || e.kw != keyW || e.kb != keyB || e.setting != setting) {
        build_pawn_section<PB, PC, Build>(e, pl, pm, keyW, keyB, setting);
        memo.valid = false;
    }

    const PhaseTables& tw = tables.white[PB];
    const PhaseTables& tb = tables.black[PC];
    const Section white{pl, bp, nb, {e.pionb, e.pionc}, kw, kb, EVAL.ILOSCPOLB};
    const Section black{pl, cp, nc, {e.pionc, e.pionb}, kb, kw, EVAL.ILOSCPOLC};
    const u64 pawns = pm.white | pm.black;

    // The fixed terms from the lists last scored with this section, where
    // there are such; a list whose pawn entries did not change still holds
    // exactly the board's pawns, as it did then.
    const bool kept = memo.valid && memo.nb == nb && memo.nc == nc;
    int fixedW = memo.sumW, fixedB = memo.sumB;
    bool checkW = true, checkB = true;
    if (kept) {
        checkW = rescore_changed<Side::White, PB>(tw, white, memo.listW, codesW.used(), pawns, memo.termsW,
                                              fixedW);
        checkB = rescore_changed<Side::Black, PC>(tb, black, memo.listB, codesB.used(), pawns, memo.termsB,
                                              fixedB);
    }
    if ((checkW && !list_holds(bp, codesW.holding(W_PAWN), pm.white, e.countW)) ||
        (checkB && !list_holds(cp, codesB.holding(B_PAWN), pm.black, e.countB))) {
        memo.valid = false;  // its entry terms may have moved on without its lists
        return ocpoz_plain(tables, pl, bp, cp, nb, nc, PB, PC);
    }
    if (!kept) {
        fixedW = pieces_of<Side::White, Terms::Fixed, PB>(tw, white, all_kinds<Side::White>(codesW), pawns,
                                                      memo.termsW);
        fixedB = pieces_of<Side::Black, Terms::Fixed, PC>(tb, black, all_kinds<Side::Black>(codesB), pawns,
                                                      memo.termsB);
    } else if constexpr (CHECKS) {
        check_kept<Side::White, PB>(tw, white, all_kinds<Side::White>(codesW), pawns, memo.termsW, fixedW);
        check_kept<Side::Black, PC>(tb, black, all_kinds<Side::Black>(codesB), pawns, memo.termsB, fixedB);
    }
    std::memcpy(memo.listW, bp, sizeof memo.listW);
    std::memcpy(memo.listB, cp, sizeof memo.listB);
    memo.sumW = static_cast<std::int16_t>(fixedW);
    memo.sumB = static_cast<std::int16_t>(fixedB);
    memo.nb = static_cast<u8>(nb);
    memo.nc = static_cast<u8>(nc);
    memo.valid = true;

    int score = e.valueW - e.valueB + fixedW - fixedB;
    if constexpr (PB == 2) score += endgame_closeness<Side::White>(white, pm.white, codesW.holding(W_KNIGHT));
    if constexpr (PC == 2) score -= endgame_closeness<Side::Black>(black, pm.black, codesB.holding(B_KNIGHT));
    score += ask_backward<Side::White>(pl, e.askW);
    score -= ask_backward<Side::Black>(pl, e.askB);
    score += pieces_of<Side::White, Terms::Occupancy, PB>(tw, white, occupancy_kinds<Side::White>(codesW), pawns);
    score -= pieces_of<Side::Black, Terms::Occupancy, PC>(tb, black, occupancy_kinds<Side::Black>(codesB), pawns);
    return score;
}

// The pawns from the board in one sweep, their part of the score from the
// table (worked out on a miss), checked against the lists' pawn entries; the
// pieces' fixed terms from what is kept with the pawn section, rescored for
// the entries that changed; the rest of each list kind by kind.  Anything
// unusual takes the plain way.  Compiled for each build's own tables, whose
// addresses are then known: every table read is one load, not two.
template <int Build>
int ocpoz_build(const i8* pl, const i8* bp, const i8* cp) {
    constexpr const TableSet& tables = tables_of_build<Build>();
    const int nb = std::clamp<int>(POS.ILB, 0, LIST_ENTRIES);
    const int nc = std::clamp<int>(POS.ILC, 0, LIST_ENTRIES);
    const int phaseB = section_of(EVAL.STANB), phaseC = section_of(EVAL.STANC);
    const PawnMasks pm = pawn_masks(pl);
    const int kw = bp[2 * POS.KROLB + 1];
    const int kb = cp[2 * POS.KROLC + 1];
    if (pm.stray || kw < 0 || kw > 99 || kb < 0 || kb > 99)
        return ocpoz_plain(tables, pl, bp, cp, nb, nc, phaseB, phaseC);
    switch (phaseB * 3 + phaseC) {
    case 0: return ocpoz_fast<0, 0, Build>(pl, bp, cp, nb, nc, pm, kw, kb);
    case 1: return ocpoz_fast<0, 1, Build>(pl, bp, cp, nb, nc, pm, kw, kb);
    case 2: return ocpoz_fast<0, 2, Build>(pl, bp, cp, nb, nc, pm, kw, kb);
    case 3: return ocpoz_fast<1, 0, Build>(pl, bp, cp, nb, nc, pm, kw, kb);
    case 4: return ocpoz_fast<1, 1, Build>(pl, bp, cp, nb, nc, pm, kw, kb);
    case 5: return ocpoz_fast<1, 2, Build>(pl, bp, cp, nb, nc, pm, kw, kb);
    case 6: return ocpoz_fast<2, 0, Build>(pl, bp, cp, nb, nc, pm, kw, kb);
    case 7: return ocpoz_fast<2, 1, Build>(pl, bp, cp, nb, nc, pm, kw, kb);
    default: return ocpoz_fast<2, 2, Build>(pl, bp, cp, nb, nc, pm, kw, kb);
    }
}

}  // namespace

EvalState EVAL{};

void wstawstan(int R) { decide_phase(EVAL, R, 6, 11); }

}  // namespace morvelak::older

namespace morvelak::m28 {
int OCPOZ(const i8* pl, const i8* bp, const i8* cp) { return older::ocpoz_build<1>(pl, bp, cp); }
}  // namespace morvelak::m28

namespace morvelak::m26 {
int OCPOZ(const i8* pl, const i8* bp, const i8* cp) { return older::ocpoz_build<2>(pl, bp, cp); }
}  // namespace morvelak::m26
