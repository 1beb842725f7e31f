// The full-width alpha-beta search of m26 and the internal
// sort search that orders its deep nodes.  One body per pair: oblicz<S> is
// OBLICZB (White to move, maximising) and OBLICZC (Black, minimising);
// iteracjasort<S> is ITERACJASORTB / ITERACJASORTC.
//
// Scores are always White's.  For the side to move S, "its bound" is the one
// it improves (alfa for White, beta for Black) and "the other bound" the one
// at which it refutes its caller (beta for White, alfa for Black).
#include <algorithm>
#include <cstring>

#include "engine/eval/older/eval.hpp"
#include "engine/eval/phase.hpp"
#include "engine/position/attackmap.hpp"
#include "engine/position/captures.hpp"
#include "engine/position/movegen.hpp"
#include "engine/search/control.hpp"
#include "engine/search/fixed_ply.hpp"
#include "engine/position/legal.hpp"
#include "engine/position/makemove.hpp"
#include "engine/search/m26/ordering.hpp"
#include "engine/search/m26/rules.hpp"
#include "engine/search/m26/search.hpp"
#include "engine/search/older/lastply.hpp"
#include "engine/search/older/margin.hpp"
#include "engine/search/older/ordering.hpp"
#include "engine/search/older/state.hpp"
#include "engine/search/ordering.hpp"
#include "engine/search/pathbuf.hpp"

namespace morvelak::m26 {

namespace {


template <Side S, int Fixed>
int oblicz_node(int ply, int d, int alfa, int beta, int pusty, i8* sdroga, wezel* dowpisania, int flaga);

// A node of the search, by a body of its own two and three plies above the
// leaves (fixed_ply.hpp).
template <Side S>
[[gnu::always_inline]] inline int oblicz(int ply, int d, int alfa, int beta, int pusty, i8* sdroga,
                                         wezel* dowpisania, int flaga) {
    return at_fixed_ply<2, 3>(ply, [&]<int P>() {
        return oblicz_node<S, P>(ply, d, alfa, beta, pusty, sdroga, dowpisania, flaga);
    });
}

template <Side S> int iteracjasort(int depth, Move* ru, int a, int rodzaj);

template <Side S> inline int& mobility() {
    if constexpr (S == Side::White) return older::EVAL.ILOSCPOLB; else return older::EVAL.ILOSCPOLC;
}

// The last ply of the other side, from the position after S's move.
template <Side S>
int last_ply_after(int d, int alfa, int beta, int pusty, i8* ndroga) {
    return older::oblicz_ply1<Opp<S>, Build>(d, alfa, beta, pusty, ndroga);
}

// Fixed: the node's ply when its body is compiled for one (0: any ply).
template <Side S, int Fixed>
[[gnu::noinline]] int oblicz_node(int ply, int d, int alfa, int beta, int pusty, i8* sdroga, wezel* dowpisania,
                                  int flaga) {
    if constexpr (Fixed != 0) ply = Fixed;
    using O = Own<S>;
    constexpr Side T = Opp<S>;
    constexpr int sg = O::sign;
    auto reaches = [](int v, int b) { return sg > 0 ? v >= b : v <= b; };
    auto better = [](int v, int b) { return sg > 0 ? v > b : v < b; };
    int& own_bound = sg > 0 ? alfa : beta;
    const int opp_bound = sg > 0 ? beta : alfa;

    // The move's time is up, or the interface wants the move now: unwind.
    // Whatever a stopped node returns, its callers throw away.
    if (CONTROL.poll()) return 0;

    older::margin_on_entry<Build, S>();
    const bool writes = pusty == 0 && SEARCH.I == 0;
    int w = -sg * 32000;
    i8 ndroga[older::PATH_BYTES] = {};

    // 1. Generate: captures first, then the quiet moves.  Four plies and more
    //    from the horizon the king is kept off the squares of the opponent's
    //    attack map (built here, and read again by the ordering); nearer the
    //    horizon the plain generator, without castling, does.
    Move ru[MAX_MOVES];
    i8 si[MAP_SQUARES];
    int aa = 0;
    int a;
    {
        Move bi[MAX_MOVES];
        int nq;
        if (ply > 3) {
            siatka<T>(POS.PL, si, own_list<T>());
            nq = ruchy<S>(POS.PL, own_list<S>(), bi, ru, POS.WYJ, &aa, si);
        } else {
            nq = superruchy<S, false>(POS.PL, own_list<S>(), bi, ru, POS.WYJ, &aa);
        }
        // The move that led here left its king en prise: taking it ends the
        // game, and the sooner the better.
        if (nq < 0) {
            if (writes) put_pair(sdroga, KING_TAKEN, KING_TAKEN);
            return sg * (10000 + ply);
        }
        if (nq + aa == 0) {
            // With the map, no move means the king is boxed in: mated when
            // it stands attacked, otherwise stalemated.
            if (ply > 3 && si[king_square<S>()] != 0) {
                if (writes) put_pair(sdroga, KING_TAKEN, KING_TAKEN);
                return -sg * (10000 + ply);
            }
            if (writes) fill_pairs(sdroga, ply, STALEMATE);
            return 0;
        }
        std::memcpy(ru + aa, bi, sizeof(Move) * nq);
        a = aa + nq;
        // Mobility counts the quiet moves only.
        mobility<S>() = nq;
    }

    // 2. Null move: if S could pass and still refute its caller in a shallow
    //    search of the other side, it will do at least as well with a move.
    //    Not when a mate score is at stake, not inside another null-move
    //    search, and not with a single move (zugzwang is too likely).  The
    //    node then fails at the bound itself.
    if (pusty == 0 && (sg > 0 ? beta < 11000 : alfa > -11000) && a > 1) {
        int s = OCPOZ(POS.PL, POS.BP, POS.CP) + d;
        if (reaches(s, opp_bound - sg * 10)) {
            ++SEARCH.LA;
            // The null window lies just inside the bound S has to reach.
            const int na = sg > 0 ? beta - 1 : alfa;
            const int nb = sg > 0 ? beta : alfa + 1;
            if (ply == 2) {
                if (reaches(s, opp_bound))
                    s = tylkobicia<T, Build::Estimate>(POS.PL, own_list<T>(), POS.WYJ, sg > 0 ? beta - 1 : alfa + 1, s);
            } else if (ply == 3) {
                if (reaches(s, opp_bound)) s = last_ply_after<S>(s, na, nb, 1, ndroga);
            } else {
                s = oblicz<T>(ply == 4 ? 2 : ply - 3, d, na, nb, 1, ndroga, dowpisania, 0);
                if (CONTROL.stopped) return 0;
            }
            if (reaches(s, opp_bound)) {
                ++SEARCH.LB;
                fill_pairs(sdroga, ply, END_OF_LINE);
                return opp_bound;
            }
        }
    }

    // 3. Order the list.  Deep nodes sort everything by a shallow search;
    //    four to six plies from the horizon the captures are sorted by the
    //    attack map, nearer the horizon not at all.  The killers are tried
    //    behind the captures there, and behind the first move deeper.
    if (a > 1 && ply > 6) {
        iteracjasort<S>(internal_sort_depth(ply), ru, a, 1);
        if (CONTROL.stopped) return 0;
    }
    const bool mapSorts = ply >= 4 && ply <= 6;
    if (mapSorts && aa > 0) posortuj<S>(ru, aa, 0, si);
    const int g = older::killer_prefix(ply, aa);

    // The tree: a reply node of a root move gives each move a node of its
    // own; the replies and the engine's moves after them are recorded.
    const bool grows = flaga != 0 && ply == SEARCH.PLY && ply > 2;
    const bool records = flaga != 0 && ply >= SEARCH.PLY - 1;

    const int ilk = Build::ilk(ply);
    const Move* kil = killer_store<S>(SEARCH) + KILLER_ROW * ply;
    int k = 0;  // next killer to try
    i8 zap[8] = {};
    ++SEARCH.L1[ply];
    // No move of S moves T's king: its square is read once.
    const int enemyKing = king_square<T>();

    // 4. Move loop.
    for (int b = 0; b < a; ++b) {
        ++SEARCH.L;
        ++SEARCH.L2[ply];
        // 4.1 Behind the ordered prefix: the next killer that is a move here.
        //     Once they are used up, four to six plies from the horizon, the
        //     rest is sorted by the attack map, once.
        if (b >= g) {
            place_next_killer(ru, b, a, kil, k, ilk);
            if (k == ilk && mapSorts) {
                posortuj<S>(ru + b, 0, a - b, si);
                ++k;
            }
        }

        // 4.2 Make the move.  At the last full-width ply most moves fall
        //     far enough short of S's bound by the guess below to be
        //     settled unmade.
        const Move m = ru[b];
        int v;
        if (ply != 2 || !older::guess_stands<S, Build>(m, d, alfa, beta, pusty, ndroga, enemyKing, v)) {
            const int e = d + zrobruch<S>(zap, m.nr, m.x2);
            if (ply == 2) {
                // 4.3 Last full-width ply: the other side's last ply.  The
                //     placement score is guessed from the position evaluated
                //     last here; a move 80 short of S's bound by that guess
                //     is first only tested against a null window there.
                //     The plain generator stopped at a hanging king before
                //     this loop, so the enemy king stood safe: gives_check
                //     may answer.
                v = older::last_full_ply<S, Build>(e, alfa, beta, pusty, ndroga, gives_check<S>(m, zap, enemyKing));
            } else {
                wezel* child = dowpisania;
                int childFlag = 0;
                if (grows && b < NODE_MOVES) {
                    child = nowy_wezel();
                    dowpisania->nast[b] = child;
                    childFlag = 1;
                }
                v = oblicz<T>(ply - 1, e, alfa, beta, pusty, ndroga, child, childFlag);
            }
            // 4.4 Unmake.  A stopped search leaves before its unfinished
            //     value can reach the tree, the killers or the line.  A node
            //     that gave its moves nodes of their own frees them again
            //     and leaves its tree node empty, so that nothing of it
            //     outlives the search.
            skasujruch<S>(zap, m.nr, m.x2);
        }
        if (CONTROL.stopped) {
            if (grows) {
                dowpisania->ile1 = static_cast<i8>(std::min(b + 1, NODE_MOVES));
                dowpisania->zwolnij();
                dowpisania->ile1 = dowpisania->ile2 = 0;
            }
            return 0;
        }
        if (records && b < NODE_MOVES) {
            dowpisania->ruch[b] = m;
            dowpisania->wart[b] = v;
        }

        // 4.5 A new best move: pass its line up.
        if (better(v, w)) {
            w = v;
            if (writes) {
                put_pair(sdroga, m.nr, m.x2);
                std::memcpy(sdroga + 2, ndroga, 2 * ply);
            }
        }
        // 4.6 Refutation: keep it as a killer, unless it was one of the
        //     captures of a shallow node; the tree node keeps what was
        //     searched.
        if (reaches(v, opp_bound)) {
            if (keeps_killer(b, g, ply)) wstawkillers<S>(SEARCH, m.nr, m.x2, ilk, ply);
            if (records) dowpisania->ile1 = dowpisania->ile2 = static_cast<i8>(std::min(b + 1, NODE_MOVES));
            return v;
        }
        // 4.7 Narrow the window.
        if (better(v, own_bound)) own_bound = v;
    }
    if (records) dowpisania->ile1 = dowpisania->ile2 = static_cast<i8>(std::min(a, NODE_MOVES));
    return w;
}

// The internal sort: from -32000 (White) / 32000 (Black), each move searched
// from its own material change, outside the tree.
template <Side S>
int iteracjasort(int depth, Move* ru, int a, int rodzaj) {
    constexpr Side T = Opp<S>;
    i8 path[older::PATH_BYTES] = {};
    return sort_by_search<S>(ru, a, rodzaj, 32000, SEARCH.I, [&](int m, int lo, int hi) {
        return oblicz<T>(depth, m, lo, hi, 0, path, nullptr, 0);
    });
}

}  // namespace

int OBLICZB(int ply, int d, int alfa, int beta, int pusty, i8* sdroga, wezel* dowpisania, int flaga) {
    return oblicz<Side::White>(ply, d, alfa, beta, pusty, sdroga, dowpisania, flaga);
}
int OBLICZC(int ply, int d, int alfa, int beta, int pusty, i8* sdroga, wezel* dowpisania, int flaga) {
    return oblicz<Side::Black>(ply, d, alfa, beta, pusty, sdroga, dowpisania, flaga);
}

int ITERACJASORTB(int depth, Move* ru, int a, int rodzaj) {
    return iteracjasort<Side::White>(depth, ru, a, rodzaj);
}
int ITERACJASORTC(int depth, Move* ru, int a, int rodzaj) {
    return iteracjasort<Side::Black>(depth, ru, a, rodzaj);
}

}  // namespace morvelak::m26
