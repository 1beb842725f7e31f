// The full-width alpha-beta search of m28 and the internal
// sort search that orders its deep nodes.  One body per pair: oblicz<S> is
// OBLICZB (White to move, maximising) and OBLICZC (Black, minimising);
// iteracjasort<S> is ITERACJASORTB / ITERACJASORTC.
//
// Scores are always White's.  For the side to move S, "its bound" is the one
// it improves (alfa for White, beta for Black) and "the other bound" the one
// at which it refutes its caller (beta for White, alfa for Black).
#include "engine/search/m28/search.hpp"

#include <cstring>

#include "engine/eval/older/eval.hpp"
#include "engine/eval/phase.hpp"
#include "engine/position/attacks.hpp"
#include "engine/position/captures.hpp"
#include "engine/position/movegen.hpp"
#include "engine/search/control.hpp"
#include "engine/search/fixed_ply.hpp"
#include "engine/position/legal.hpp"
#include "engine/position/makemove.hpp"
#include "engine/search/m28/hashtable.hpp"
#include "engine/search/m28/rules.hpp"
#include "engine/search/older/lastply.hpp"
#include "engine/search/older/margin.hpp"
#include "engine/search/older/ordering.hpp"
#include "engine/search/ordering.hpp"
#include "engine/search/pathbuf.hpp"

namespace morvelak::m28 {

namespace {

template <Side S, int Fixed> int oblicz_node(int ply, int d, int alfa, int beta, int pusty, i8* sdroga, int hanging);

// A node of the search, by a body of its own two and three plies above the
// leaves (fixed_ply.hpp).
template <Side S>
[[gnu::always_inline]] inline int oblicz(int ply, int d, int alfa, int beta, int pusty, i8* sdroga,
                                         int hanging = -1) {
    return at_fixed_ply<2, 3>(
        ply, [&]<int P>() { return oblicz_node<S, P>(ply, d, alfa, beta, pusty, sdroga, hanging); });
}

template <Side S> int iteracjasort(int depth, Move* ru, int a, int rodzaj);

template <Side S> inline int& mobility() {
    if constexpr (S == Side::White) return older::EVAL.ILOSCPOLB; else return older::EVAL.ILOSCPOLC;
}

// hanging: whether the move that led here left its king attacked, when the
// caller's move loop knows it (KingSafety); -1 has the node look it up.
// Fixed: the node's ply when its body is compiled for one (0: any ply).
template <Side S, int Fixed>
[[gnu::noinline]] int oblicz_node(int ply, int d, int alfa, int beta, int pusty, i8* sdroga, int hanging) {
    if constexpr (Fixed != 0) ply = Fixed;
    using O = Own<S>;
    constexpr Side T = Opp<S>;
    constexpr int sg = O::sign;
    auto reaches = [](int v, int b) { return sg > 0 ? v >= b : v <= b; };
    auto better = [](int v, int b) { return sg > 0 ? v > b : v < b; };
    int& own_bound = sg > 0 ? alfa : beta;
    const int opp_bound = sg > 0 ? beta : alfa;

    // 0. The move's time is up, or the interface wants the move now: unwind.
    //    Whatever a stopped node returns, its callers throw away.
    if (CONTROL.poll()) return 0;

    // 1. The routine's positional guess for its last full-width ply starts
    //    from the first position it is ever entered with.
    older::margin_on_entry<Build, S>();

    int w = -sg * 12000;
    // The child's line.  Cleared, so that a line passed up never carries
    // bytes no node wrote.
    i8 ndroga[older::PATH_BYTES] = {};

    // 2. Null move: if S could pass and still refute its caller in a shallow
    //    search of the other side, it will do at least as well with a move.
    //    Not when a mate score is at stake, not when the other side's list
    //    holds three entries or fewer, and not after an illegal move (the
    //    king capture below settles that at once).
    if (pusty == 0 && (sg > 0 ? beta < 11000 : alfa > -11000) && own_count<T>() > 3 && ply >= 2 &&
        !(hanging >= 0 ? hanging != 0 : odbicia<S>(POS.PL, king_square<T>()) != 0)) {
        int s = OCPOZ(POS.PL, POS.BP, POS.CP) + d;
        if (reaches(s, opp_bound - sg * 10)) {
            // The null window lies just inside the bound S has to reach.
            const int na = sg > 0 ? beta - 1 : alfa;
            const int nb = sg > 0 ? beta : alfa + 1;
            if (ply == 2) {
                if (reaches(s, opp_bound))
                    s = tylkobicia<T, Build::Estimate>(POS.PL, own_list<T>(), POS.WYJ, sg > 0 ? beta - 1 : alfa + 1, s);
            } else if (ply == 3) {
                if (reaches(s, opp_bound)) s = older::oblicz_ply1<T, Build>(s, na, nb, 1, ndroga);
            } else {
                s = oblicz<T>(ply == 4 ? 2 : ply - 3, d, na, nb, 1, ndroga);
                if (CONTROL.stopped) return 0;
            }
            if (reaches(s, opp_bound)) {
                fill_pairs(sdroga, ply, END_OF_LINE);
                return s;
            }
        }
    }

    // 3. Generate: captures first, then the quiet moves.  A possible king
    //    capture means the move that led here was illegal.
    Move ru[MAX_MOVES];
    int aa;
    const int a = generate_all<S>(ru, &aa);
    if (a < 0) {
        if (pusty == 0 && SEARCH.I == 0) put_pair(sdroga, KING_TAKEN, KING_TAKEN);
        return sg * (10000 + ply);
    }
    if (a == 0) {
        if (pusty == 0 && SEARCH.I == 0) fill_pairs(sdroga, ply, STALEMATE);
        return 0;
    }
    mobility<S>() = a;

    // 4. Order the list.  Deep nodes by a shallow search of every move; nodes
    //    near the leaves by the static capture sort, whose count of good
    //    captures replaces the capture count.  Killers come behind the prefix
    //    so ordered.
    if (a > 1 && ply > 6) {
        iteracjasort<S>(internal_sort_depth(ply), ru, a, 1);
        if (CONTROL.stopped) return 0;
    }
    if (ply < 7 && aa > 0) aa = sortbic<S>(ru, aa);
    const int g = older::killer_prefix(ply, aa);

    // 5. Two plies below the root, on a main line: the position goes into the
    //    table with every move searched and its value.
    const bool records = ply == SEARCH.PLY - 1 && SEARCH.HASHB == 0;
    if (records) hash_begin();

    const int ilk = Build::ilk(ply);
    const Move* kil = killer_store<S>(SEARCH) + KILLER_ROW * ply;
    int k = 0;  // next killer to try
    i8 zap[8] = {};
    // Above the last full-width ply, outside a null-move search, every child
    // asks whether the move left S's king attacked before it tries a null
    // move: answered here by the cheap test after each move, from whether S
    // stands in check now.
    const bool tells = ply > 2 && pusty == 0;
    const KingSafety<S> safety(tells && odbicia<T>(POS.PL, king_square<S>()));
    // No move of S moves T's king: its square is read once.
    const int enemyKing = king_square<T>();

    // 6. Move loop.
    for (int b = 0; b < a; ++b) {
        ++SEARCH.L;
        // 6.1 Behind the ordered prefix: the next killer that is a move here.
        if (b >= g)
            killers_then_late_sort(ru, b, a, kil, k, ilk, ply, SEARCH.PLY,
                                   [](int depth, Move* rest, int n) { iteracjasort<S>(depth, rest, n, 0); });

        // 6.2 Make the move and search it: at depth 2 through the last ply
        //     with the positional guess, deeper by the other side's node.
        //     Most moves there fall far enough short by the guess to be
        //     settled unmade.
        const Move m = ru[b];
        int v;
        if (ply != 2 || !older::guess_stands<S, Build>(m, d, alfa, beta, pusty, ndroga, enemyKing, v)) {
            const int e = d + zrobruch<S>(zap, m.nr, m.x2);
            // Generation stopped at a hanging king before this loop, so the
            // enemy king stood safe: gives_check may answer for the last ply.
            if (ply == 2) v = older::last_full_ply<S, Build>(e, alfa, beta, pusty, ndroga, gives_check<S>(m, zap, enemyKing));
            else v = oblicz<T>(ply - 1, e, alfa, beta, pusty, ndroga, tells ? safety.attacked(m, zap) : -1);
            // 6.3 Unmake.  A stopped search leaves before its unfinished
            //     value can reach the table, the killers or the line: the
            //     record begun here stays unclosed, beyond the complete ones.
            skasujruch<S>(zap, m.nr, m.x2);
        }
        if (CONTROL.stopped) return 0;
        if (records) hash_store<S>(b, m, v);

        // 6.4 A new best move: pass its line up.
        if (better(v, w)) {
            w = v;
            if (pusty == 0 && SEARCH.I == 0) {
                put_pair(sdroga, m.nr, m.x2);
                std::memcpy(sdroga + 2, ndroga, 2 * ply);
            }
        }
        // 6.5 Refutation: keep it as a killer, unless the capture sort put it
        //     in the prefix of a shallow node; the record holds the moves
        //     searched, the refutation included.
        if (reaches(v, opp_bound)) {
            if (keeps_killer(b, g, ply)) wstawkillers<S>(SEARCH, m.nr, m.x2, ilk, ply);
            if (records) hash_close(b + 1);
            return v;
        }
        // 6.6 Narrow the window.
        if (better(v, own_bound)) own_bound = v;
    }
    if (records) hash_close(a);

    // 7. No move kept S out of a lost position: mate if S's king is attacked
    //    now, otherwise the moves only lost because the king walked into
    //    capture, which is stalemate.
    if ((sg > 0 ? w < -9000 : w > 9000) && !odbicia<T>(POS.PL, king_square<S>())) return 0;
    return w;
}

// Orders the a moves at ru by a search of the given depth, best first, and
// returns the best value.  The searches start from the move's own material
// change only and write no line.
template <Side S>
int iteracjasort(int depth, Move* ru, int a, int rodzaj) {
    constexpr Side T = Opp<S>;
    i8 path[older::PATH_BYTES] = {};
    return sort_by_search<S>(ru, a, rodzaj, 12000, SEARCH.I, [&](int m, int lo, int hi) {
        return oblicz<T>(depth, m, lo, hi, 0, path);
    });
}

}  // namespace

int OBLICZB(int ply, int d, int alfa, int beta, int pusty, i8* sdroga) {
    return oblicz<Side::White>(ply, d, alfa, beta, pusty, sdroga);
}
int OBLICZC(int ply, int d, int alfa, int beta, int pusty, i8* sdroga) {
    return oblicz<Side::Black>(ply, d, alfa, beta, pusty, sdroga);
}

int ITERACJASORTB(int depth, Move* ru, int a, int rodzaj) {
    return iteracjasort<Side::White>(depth, ru, a, rodzaj);
}
int ITERACJASORTC(int depth, Move* ru, int a, int rodzaj) {
    return iteracjasort<Side::Black>(depth, ru, a, rodzaj);
}

}  // namespace morvelak::m28
