// Pawn structure: placement, protection, doubled, isolated and passed pawns,
// and the enemy king's distance to them.  Besides its score, OCPION leaves the
// most advanced pawn of each colour on every file for the piece evaluation.
//
// A search meets the same pawns with the same kings over and over (most moves
// are piece moves), so the structure of a placement is worked out once and
// kept in a small table (EVAL.STRUCTURES): not the score itself but the counts it is made of
// (protected pawns, doubled, isolated, passed pawns by rank, the sums of
// table values and of king closeness).  The weights are applied to those
// counts on every call, so a change of weights can never meet an old score,
// whoever makes it.  What a slot remembers besides depends only on its key
// and on the closeness table ODL, which is fixed geometry.
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

#include "engine/eval/m31/eval.hpp"
#include "engine/eval/m31/king.hpp"
#include "engine/eval/pawnmasks.hpp"
#include "engine/position/position.hpp"

namespace morvelak::m31 {

namespace {

// ---------------------------------------------------------------------------
// The rules square by square.  Boards no game reaches (a pawn on the first or
// last rank) and pawn tables other than the engine's own are scored here.
// ---------------------------------------------------------------------------

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
    int v = table[s] - ODL[s][enemyKing] * EVAL.ODLKROLPION;
    // Protected by an own pawn diagonally behind it; two protectors count once.
    if (pl[s - O::capLeft] == O::pawn || pl[s - O::capRight] == O::pawn) v += EVAL.KRYCIE;
    if (pion[f] != 0) v -= EVAL.DUBEL;
    // Not a mirror: both colours are scanned from rank 2 upwards, so White
    // overwrites (ending with its highest pawn) while Black keeps the first
    // pawn met (its lowest).  Either way the file keeps its most advanced pawn.
    if (S == Side::White || pion[f] == 0) pion[f] = static_cast<i8>(s);
    return v;
}

// Passed: no enemy pawn on the file, and on each neighbour file the enemy's
// most advanced pawn (if any) is level with or behind it.  An enemy pawn
// further up the neighbour file does not count.
template <Side S>
inline bool passed(const i8* enemy, int f, int p) {
    auto clear = [&](int g) {
        return g < 0 || g > 7 || enemy[g] == 0 || own_rank<S>(enemy[g]) <= own_rank<S>(p);
    };
    return enemy[f] == 0 && clear(f - 1) && clear(f + 1);
}

// What the most advanced pawn of side S on file f is worth as a passed pawn
// (0 when it is not passed, or the file is off the board or empty).
template <Side S>
inline int passed_value(const i8* own, const i8* enemy, int f, int enemyKing) {
    if (f < 0 || f > 7) return 0;
    const int p = own[f];
    if (p == 0 || !passed<S>(enemy, f, p)) return 0;
    return EVAL.WOLNY[own_rank<S>(p)] - ODL[enemyKing][p] * EVAL.ODLKROLWOLNY;
}

// Isolated and passed pawns of side S, one test per file, on the file's most
// advanced pawn only.
template <Side S>
inline int files_of(const i8* own, const i8* enemy, int enemyKing) {
    int v = 0;
    for (int f = 0; f < 8; ++f) {
        if (own[f] == 0) continue;
        const bool friendLeft = f > 0 && own[f - 1] != 0;
        const bool friendRight = f < 7 && own[f + 1] != 0;
        if (!friendLeft && !friendRight) {
            v -= EVAL.SAMOTNY;
            if (enemy[f] == 0) v -= EVAL.SLABY;
        }
        v += passed_value<S>(own, enemy, f, enemyKing);
    }
    return v;
}

// Side S's pawns that an own pawn protects, from the mask of its pawns: a
// white pawn on s protects s + 9 and s + 11, a black one s - 9 and s - 11; a
// pawn protected twice counts once.
template <Side S>
inline int protected_pawns(u64 pawns) {
    if constexpr (S == Side::White) return count_bits(pawns & (pawns << 9 | pawns << 11));
    else return count_bits(pawns & (pawns >> 9 | pawns >> 11));
}

[[gnu::noinline]] int ocpion_plain(const i8* pl, i8* pionb, i8* pionc, int kw, int kb) {
    for (int f = 0; f < 8; ++f) pionb[f] = pionc[f] = 0;
    int score = 0;
    // File by file, each from rank 2 to rank 7.
    for (int f = 0; f < 8; ++f) {
        for (int s = 21 + f; s <= 71 + f; s += 10) {
            if (pl[s] == W_PAWN) score += pawn_on<Side::White>(pl, EVAL.OCPIONB, s, f, pionb, kb);
            else if (pl[s] == B_PAWN) score -= pawn_on<Side::Black>(pl, EVAL.OCPIONC, s, f, pionc, kw);
        }
    }
    score += files_of<Side::White>(pionb, pionc, kb);
    score -= files_of<Side::Black>(pionc, pionb, kw);
    return score;
}

// The engine's pawn tables, numbered from 1; 0 for any other table.  Only a
// placement read with the engine's own tables (which never change) is kept.
int pawn_table_number(const i8* t) {
    const PieceSquare* const own[6] = {&BPDEB, &PBSROD, &PBKONC, &CPDEB, &PCSROD, &PCKONC};
    for (int k = 0; k < 6; ++k)
        if (t == own[k]->data()) return k + 1;
    return 0;
}

// Both pawn tables in force as one number 9..54 (0 = one is foreign),
// worked out again only when a pointer changes.
int tables_in_force() {
    if (EVAL.OCPIONB != EVAL.pawnTableB || EVAL.OCPIONC != EVAL.pawnTableC) {
        EVAL.pawnTableB = EVAL.OCPIONB;
        EVAL.pawnTableC = EVAL.OCPIONC;
        const int b = pawn_table_number(EVAL.pawnTableB), c = pawn_table_number(EVAL.pawnTableC);
        EVAL.pawnTables = b != 0 && c != 0 ? 8 * b + c : 0;
    }
    return EVAL.pawnTables;
}

inline u64 structure_slot(u64 white, u64 black, int kw, int kb, int tables) {
    const u64 h = white * 0x9E3779B97F4A7C15ULL ^ black * 0xC2B2AE3D27D4EB4FULL ^
                  static_cast<u64>(kw | kb << 8 | tables << 16) * 0x165667B19E3779F9ULL;
    return h >> (64 - STRUCTURE_BITS);
}

// The file (0 = a) of each bit of a pawn mask.
constexpr auto FILE_OF_BIT = [] {
    std::array<u8, 64> f{};
    for (int i = 0; i < 64; ++i) f[i] = static_cast<u8>((PAWN_MASK_BASE + i) % 10 - 1);
    return f;
}();

// Set bits of a byte, for the eight-file masks.
constexpr auto BITS_OF_BYTE = [] {
    std::array<u8, 256> n{};
    for (int b = 0; b < 256; ++b) n[b] = static_cast<u8>(std::popcount(static_cast<unsigned>(b)));
    return n;
}();

// The files (bit f = file f) holding a square of the mask.
inline unsigned files_of_mask(u64 m) {
    m |= m >> 30;
    m |= m >> 20 | m >> 10;
    return static_cast<unsigned>(m & 0xFF);
}

// Works out the structure of a placement without stray pawns.
[[gnu::noinline]] void build_structure(Structure& e, u64 white, u64 black, int kw, int kb, int tables) {
    e.white = white;
    e.black = black;
    e.kw = static_cast<u8>(kw);
    e.kb = static_cast<u8>(kb);
    e.tables = static_cast<u8>(tables);

    // White pawn by pawn from the lowest square up, Black's from the highest
    // down: the last pawn met on a file is the most advanced.
    for (int f = 0; f < 8; ++f) e.pionb[f] = e.pionc[f] = 0;
    int table = 0, near = 0, countW = 0, countB = 0;
    for (u64 m = white; m != 0; m &= m - 1) {
        const int i = std::countr_zero(m), s = PAWN_MASK_BASE + i;
        ++countW;
        table += EVAL.OCPIONB[s];
        near += ODL[s][kb];
        e.pionb[FILE_OF_BIT[i]] = static_cast<i8>(s);
    }
    for (u64 m = black; m != 0; m &= ~(u64{1} << (63 - std::countl_zero(m)))) {
        const int i = 63 - std::countl_zero(m), s = PAWN_MASK_BASE + i;
        ++countB;
        table -= EVAL.OCPIONC[s];
        near -= ODL[s][kw];
        e.pionc[FILE_OF_BIT[i]] = static_cast<i8>(s);
    }
    e.table = static_cast<std::int16_t>(table);
    e.near = static_cast<std::int16_t>(near);

    e.protectedPawns = static_cast<i8>(protected_pawns<Side::White>(white) - protected_pawns<Side::Black>(black));

    const unsigned filesW = files_of_mask(white), filesB = files_of_mask(black);
    e.doubled = static_cast<i8>((countW - BITS_OF_BYTE[filesW]) - (countB - BITS_OF_BYTE[filesB]));
    const unsigned isoW = filesW & ~(filesW << 1 | filesW >> 1) & 0xFF;
    const unsigned isoB = filesB & ~(filesB << 1 | filesB >> 1) & 0xFF;
    e.isolated = static_cast<i8>(BITS_OF_BYTE[isoW] - BITS_OF_BYTE[isoB]);
    e.weak = static_cast<i8>(BITS_OF_BYTE[isoW & ~filesB] - BITS_OF_BYTE[isoB & ~filesW]);

    for (i8& p : e.passed) p = 0;
    int passedNear = 0;
    unsigned ranks = 0;
    for (int f = 0; f < 8; ++f) {
        if (const int w = e.pionb[f]; w != 0 && passed<Side::White>(e.pionc, f, w)) {
            const int r = own_rank<Side::White>(w) - 2;
            ++e.passed[r];
            ranks |= 1u << r;
            passedNear += ODL[kb][w];
        }
        if (const int b = e.pionc[f]; b != 0 && passed<Side::Black>(e.pionb, f, b)) {
            const int r = own_rank<Side::Black>(b) - 2;
            --e.passed[r];
            ranks |= 1u << r;
            passedNear -= ODL[kw][b];
        }
    }
    e.passedNear = static_cast<std::int16_t>(passedNear);
    e.passedRanks = static_cast<u8>(ranks);
}

inline int score_of(const Structure& e) {
    const EvalState& w = EVAL;  // the weights
    int score = e.table - w.ODLKROLPION * e.near + w.KRYCIE * e.protectedPawns - w.DUBEL * e.doubled -
                w.SAMOTNY * e.isolated - w.SLABY * e.weak;
    if (e.passedRanks != 0) {
        score -= w.ODLKROLWOLNY * e.passedNear;
        for (unsigned r = e.passedRanks; r != 0; r &= r - 1) {
            const int k = std::countr_zero(r);
            score += w.WOLNY[k + 2] * e.passed[k];
        }
    }
    return score;
}

// OCPION with the pawn masks of pl already read.
int ocpion_of(const i8* pl, const PawnMasks& m, i8* pionb, i8* pionc) {
    const int kw = king_at(POS.BP, POS.KROLB);
    const int kb = king_at(POS.CP, POS.KROLC);
    const int tables = tables_in_force();
    if (m.stray || tables == 0) return ocpion_plain(pl, pionb, pionc, kw, kb);

    Structure& e = EVAL.STRUCTURES[structure_slot(m.white, m.black, kw, kb, tables)];
    if (e.white != m.white || e.black != m.black || e.kw != kw || e.kb != kb || e.tables != tables)
        build_structure(e, m.white, m.black, kw, kb, tables);
    std::memcpy(pionb, e.pionb, 8);
    std::memcpy(pionc, e.pionc, 8);
    return score_of(e);
}

}  // namespace

int OCPION(const i8* pl, i8* pionb, i8* pionc) { return ocpion_of(pl, pawn_masks(pl), pionb, pionc); }

void pawn_structure(const i8* pl, PawnStructure& p) {
    p.masks = pawn_masks(pl);
    p.score = ocpion_of(pl, p.masks, p.pionb, p.pionc);
}

// A pawn's step straight ahead moves one pawn on its own file: the files
// that hold pawns stay as they were, so doubled, isolated and weak pawns do
// not change, and the kings stand where they stood.  What changes is the
// pawn's own table value and closeness to the enemy king, which pawns of its
// side are protected, and, when it was the most advanced on its file, the
// passed pawns: its own, and the enemy's on the two files beside it, whose
// test reads how far it has come.
template <Side S>
bool pawn_step(const PawnStructure& before, int from, int to, PawnStructure& after) {
    constexpr Side T = Opp<S>;
    if (before.masks.stray) return false;
    const int kw = king_at(POS.BP, POS.KROLB);
    const int kb = king_at(POS.CP, POS.KROLC);
    const int ownKing = S == Side::White ? kw : kb;
    const int enemyKing = S == Side::White ? kb : kw;
    const i8* const table = S == Side::White ? EVAL.OCPIONB : EVAL.OCPIONC;

    after.masks = before.masks;
    u64& mask = S == Side::White ? after.masks.white : after.masks.black;
    const u64 was = mask;
    mask ^= u64{1} << (from - PAWN_MASK_BASE) | u64{1} << (to - PAWN_MASK_BASE);
    int v = table[to] - table[from] - EVAL.ODLKROLPION * (ODL[to][enemyKing] - ODL[from][enemyKing]) +
            EVAL.KRYCIE * (protected_pawns<S>(mask) - protected_pawns<S>(was));

    std::memcpy(after.pionb, before.pionb, 8);
    std::memcpy(after.pionc, before.pionc, 8);
    const i8* const own = S == Side::White ? before.pionb : before.pionc;
    const int f = from % 10 - 1;
    if (own[f] == from) {
        i8* const next = S == Side::White ? after.pionb : after.pionc;
        const i8* const enemy = S == Side::White ? before.pionc : before.pionb;
        next[f] = static_cast<i8>(to);
        v += passed_value<S>(next, enemy, f, enemyKing) - passed_value<S>(own, enemy, f, enemyKing);
        for (const int g : {f - 1, f + 1})
            v -= passed_value<T>(enemy, next, g, ownKing) - passed_value<T>(enemy, own, g, ownKing);
    }
    after.score = S == Side::White ? before.score + v : before.score - v;
    return true;
}

// The king's own pawns do not look at it: a king's step changes only the
// closeness of the enemy's pawns, and of its passed pawns, to it.  A board
// with a pawn on the first or last rank reads these terms as any other does.
template <Side S>
void king_step(const PawnStructure& before, int from, int to, PawnStructure& after) {
    constexpr Side T = Opp<S>;
    after = before;
    const i8* const nearTo = ODL[to];
    const i8* const nearFrom = ODL[from];
    int near = 0;
    for (u64 m = S == Side::White ? before.masks.black : before.masks.white; m != 0; m &= m - 1) {
        const int s = PAWN_MASK_BASE + std::countr_zero(m);
        near += nearTo[s] - nearFrom[s];
    }
    const i8* const own = S == Side::White ? before.pionb : before.pionc;
    const i8* const enemy = S == Side::White ? before.pionc : before.pionb;
    int passedNear = 0;
    for (int f = 0; f < 8; ++f)
        if (const int p = enemy[f]; p != 0 && passed<T>(own, f, p)) passedNear += nearTo[p] - nearFrom[p];
    const int v = EVAL.ODLKROLPION * near + EVAL.ODLKROLWOLNY * passedNear;
    after.score = S == Side::White ? before.score + v : before.score - v;
}

template bool pawn_step<Side::White>(const PawnStructure&, int, int, PawnStructure&);
template bool pawn_step<Side::Black>(const PawnStructure&, int, int, PawnStructure&);
template void king_step<Side::White>(const PawnStructure&, int, int, PawnStructure&);
template void king_step<Side::Black>(const PawnStructure&, int, int, PawnStructure&);

}  // namespace morvelak::m31
