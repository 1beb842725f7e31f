// Most nodes of a search stand two or three plies above its leaves, and
// there a node's work differs from a deeper node's at almost every step:
// which evaluation it reads, how its null move is searched, what it hands
// its children.  A node body templated on its ply (0 for any other ply) is
// compiled once for each such ply with those tests folded away, and once
// for the rest; at_fixed_ply picks the body for a node.
#pragma once

namespace morvelak {

// body.template operator()<P>() for the P of Fixed that equals ply, or
// body.template operator()<0>() when none does.
template <int... Fixed, class Body>
[[gnu::always_inline]] inline int at_fixed_ply(int ply, Body&& body) {
    int v = 0;
    if (((ply == Fixed && (v = body.template operator()<Fixed>(), true)) || ...)) return v;
    return body.template operator()<0>();
}

}  // namespace morvelak
