// Depth control between moves, the shape every build shares: the depth a
// game starts with follows the clock, and after each search the depth of the
// next follows the time this one took.  This control plans the depth from
// the time measured between moves; only the hard limit of a move (or the
// interface's "?") cuts a search short of it, and the plan then goes on from
// the depth that was planned.  The builds differ in the numbers, which are
// parameters here.
#pragma once

#include <cstddef>

#include "engine/position/types.hpp"

namespace morvelak {

// Depth at the start of a game: `base`, raised to base + i + 1 for every
// above[i] (increasing) that the clock exceeds.  C is the type the build
// compares the clock in (unsigned in m31, signed before).
template <class C, std::size_t N>
inline constexpr int depth_by_clock(C clock, int base, const C (&above)[N]) {
    int n = base;
    for (std::size_t i = 0; i < N; ++i)
        if (clock > above[i]) n = base + static_cast<int>(i) + 1;
    return n;
}

// The numbers of a build's adaptation.  The budget of a move is the time
// left divided by `divisor`, or by `lateDivisor` once more than `lateAfter`
// moves of the build's count have been played; the next depth stays within
// [minimum, maximum].
struct DepthRule {
    int divisor;
    int lateDivisor;
    int lateAfter;
    int minimum;
    int maximum;
};

// Depth of the next search after a search to n that took t centiseconds,
// with `left` centiseconds on the clock before it (signed: a clock below
// zero gives a budget of 1 or less) and r moves played.  Within one budget
// the next search goes one ply deeper, beyond six budgets one ply shallower.
inline constexpr int adapt_depth(int n, int t, i32 left, int r, const DepthRule& rule) {
    const int t1 = (left - t) / (r > rule.lateAfter ? rule.lateDivisor : rule.divisor) + 1;
    const int t2 = 6 * t1;
    if (t > t2) --n;
    if (t <= t1) ++n;
    if (n < rule.minimum) n = rule.minimum;
    if (n > rule.maximum) n = rule.maximum;
    return n;
}

}  // namespace morvelak
