// Is a square attacked by a given side?  Every legality and safety question
// of the engine comes down to this, and the capture estimate asks it once per
// capture, so it is a straight-line test on the board bytes: eight unrolled
// rays, each dismissed by one AND when its first square holds a defender's
// piece or the border, then the knight jumps by explicit rank/file bounds.
//
// The piece standing on the tested square itself never counts or blocks.
#pragma once

#include <initializer_list>

#include "engine/position/position.hpp"

namespace morvelak {
namespace detail {

// What a board byte can do for attacker A, one bit per question, so that a
// ray needs a single table look-up per square instead of a chain of compares.
enum : u8 {
    ADJ_PAWN_DIAG = 1,  // attacks from one step away on a diagonal its pawns use
    ADJ_DIAG = 2,       // attacks from one step away on the other diagonals
    ADJ_LINE = 4,       // attacks from one step away on a rank or file
    FAR_DIAG = 8,       // attacks from further along a diagonal
    FAR_LINE = 16,      // attacks from further along a rank or file
};

template <Side A>
struct AttackFlags {
    u8 f[256] = {};
    constexpr AttackFlags() {
        using O = Own<A>;
        f[static_cast<u8>(O::king)] = ADJ_PAWN_DIAG | ADJ_DIAG | ADJ_LINE;
        f[static_cast<u8>(O::pawn)] = ADJ_PAWN_DIAG;
        f[static_cast<u8>(O::bishop)] = ADJ_PAWN_DIAG | ADJ_DIAG | FAR_DIAG;
        f[static_cast<u8>(O::rook)] = ADJ_LINE | FAR_LINE;
        f[static_cast<u8>(O::queen)] = ADJ_PAWN_DIAG | ADJ_DIAG | ADJ_LINE | FAR_DIAG | FAR_LINE;
    }
};
template <Side A> inline constexpr AttackFlags<A> FLAGS{};

// One ray from a towards D: an adjacent attacker is found by the first
// square's flags; beyond it only the ray's sliders can attack.  Any other
// piece or the border ends the ray.
template <Side A, int D, u8 Adjacent, u8 Far>
[[gnu::always_inline]] inline bool ray_attack(const i8* pl, int a) {
    int t = a + D;
    i8 c = pl[t];
    if (FLAGS<A>.f[static_cast<u8>(c)] & Adjacent) return true;
    if (c) return false;
    do {
        t += D;
        // The border ring stops every ray before it can leave the board.
        if (static_cast<unsigned>(t) >= 100u) __builtin_unreachable();
        c = pl[t];
    } while (c == 0);
    return FLAGS<A>.f[static_cast<u8>(c)] & Far;
}

}  // namespace detail

// 1 if a piece of side A on board pl attacks square a (a playing square):
// the engine's ODBICIAB for A = White, ODBICIAC for A = Black.
template <Side A>
[[gnu::always_inline]] inline int odbicia(const i8* pl, int a) {
    using namespace detail;
    using O = Own<A>;
    // The diagonals from which A's pawns strike a: below a for White.
    constexpr int p1 = -O::capRight, p2 = -O::capLeft;
    if (ray_attack<A, p1, ADJ_PAWN_DIAG, FAR_DIAG>(pl, a)) return 1;
    if (ray_attack<A, p2, ADJ_PAWN_DIAG, FAR_DIAG>(pl, a)) return 1;
    if (ray_attack<A, -O::up, ADJ_LINE, FAR_LINE>(pl, a)) return 1;
    if (ray_attack<A, +1, ADJ_LINE, FAR_LINE>(pl, a)) return 1;
    if (ray_attack<A, -1, ADJ_LINE, FAR_LINE>(pl, a)) return 1;
    if (ray_attack<A, -p1, ADJ_DIAG, FAR_DIAG>(pl, a)) return 1;
    if (ray_attack<A, -p2, ADJ_DIAG, FAR_DIAG>(pl, a)) return 1;
    if (ray_attack<A, O::up, ADJ_LINE, FAR_LINE>(pl, a)) return 1;

    // Knights, from the jump table of the square.
    constexpr i8 n = O::knight;
    const i8* jumps = SKO[a];
    for (int k = ILS[a]; k > 0; --k, ++jumps)
        if (pl[*jumps] == n) return 1;
    return 0;
}

// The line from one square to another: LINE_STEP[to - from + LINE_SPAN] is
// the step (+-1, +-9, +-10, +-11) that leads from `from` to `to` along a rank,
// file or diagonal, 0 when no step does.  Only the difference is looked up,
// so a few pairs that share no line get a step too (a1 to h3 is three steps
// of +9, c8 to f7 seven steps of -1); their ray leaves the line at once and
// stops at the border.
inline constexpr int LINE_SPAN = 77;  // the largest difference of two playing squares

namespace detail {

struct LineSteps {
    i8 step[2 * LINE_SPAN + 1] = {};
    constexpr LineSteps() {
        for (int d : {1, 9, 10, 11}) {
            for (int k = 1; k <= 7; ++k) {
                step[LINE_SPAN + k * d] = static_cast<i8>(d);
                step[LINE_SPAN - k * d] = static_cast<i8>(-d);
            }
        }
    }
};

}  // namespace detail

inline constexpr detail::LineSteps LINE_STEP{};

// A knight's jump from one playing square to another:
// KNIGHT_JUMP.jump[to - from + LINE_SPAN] is 1 when `to` is a knight's move
// away from `from`.  On the 10-wide board no difference of a jump joins two
// playing squares any other way (a jump across the edge lands on the border).
namespace detail {

struct KnightJumps {
    i8 jump[2 * LINE_SPAN + 1] = {};
    constexpr KnightJumps() {
        for (int d : {8, 12, 19, 21}) jump[LINE_SPAN + d] = jump[LINE_SPAN - d] = 1;
    }
};

}  // namespace detail

inline constexpr detail::KnightJumps KNIGHT_JUMP{};

namespace detail {

// The attacker flags of a ray of side A by its step: of[step + 11] holds what
// an adjacent piece and a piece further along must be able to do, as the
// rays of odbicia<A> ask it (A's pawns strike along two of the diagonals).
struct RayFlags {
    u8 adjacent, far;
};

template <Side A>
struct RayFlagTable {
    RayFlags of[23] = {};
    constexpr RayFlagTable() {
        using O = Own<A>;
        for (int d : {1, -1, 10, -10}) of[d + 11] = {ADJ_LINE, FAR_LINE};
        for (int d : {9, -9, 11, -11}) of[d + 11] = {ADJ_DIAG, FAR_DIAG};
        of[-O::capRight + 11] = {ADJ_PAWN_DIAG, FAR_DIAG};
        of[-O::capLeft + 11] = {ADJ_PAWN_DIAG, FAR_DIAG};
    }
};
template <Side A> inline constexpr RayFlagTable<A> RAY_FLAGS{};

}  // namespace detail

// A discovered attack: 1 if a piece of side A attacks square a (a playing
// square) along the line through square `through`, 0 otherwise.  It is the
// one ray of odbicia<A> that passes `through` (when the squares share no
// line, no ray or another ray of odbicia<A>, by LINE_STEP), so when nothing
// else attacked a before a move emptied `through`, it answers as odbicia<A>
// afterwards.  Most squares share no line with a, so that answer comes
// first; the ray then runs with its step and its attacker flags looked up,
// without a jump through a table of eight copies.
template <Side A>
[[gnu::always_inline]] inline int odslona(const i8* pl, int a, int through) {
    using namespace detail;
    const int d = LINE_STEP.step[through - a + LINE_SPAN];
    if (d == 0) return 0;
    const RayFlags& r = RAY_FLAGS<A>.of[d + 11];
    int t = a + d;
    i8 c = pl[t];
    if (FLAGS<A>.f[static_cast<u8>(c)] & r.adjacent) return 1;
    if (c) return 0;
    do {
        t += d;
        // The border ring stops every ray before it can leave the board.
        if (static_cast<unsigned>(t) >= 100u) __builtin_unreachable();
        c = pl[t];
    } while (c == 0);
    return (FLAGS<A>.f[static_cast<u8>(c)] & r.far) != 0;
}

}  // namespace morvelak
