// The full-width alpha-beta search of m31 and the internal
// sort search that orders its deep nodes.  One body per pair: oblicz<S> is
// OBLICZB (White to move, maximising) and OBLICZC (Black, minimising);
// iteracjasort<S> (the engine's ITERACJASORTB / ITERACJASORTC) orders the
// moves of a deep node inside this file, so it needs no named entry points.
//
// Scores are always White's.  For the side to move S, "its bound" is the one
// it improves (alfa for White, beta for Black) and "the other bound" the one
// at which it refutes its caller (beta for White, alfa for Black).
#include <cstring>

#include "engine/eval/m31/eval.hpp"
#include "engine/eval/phase.hpp"
#include "engine/position/attacks.hpp"
#include "engine/position/captures.hpp"
#include "engine/position/movegen.hpp"
#include "engine/search/control.hpp"
#include "engine/search/fixed_ply.hpp"
#include "engine/position/keys.hpp"
#include "engine/position/legal.hpp"
#include "engine/position/makemove.hpp"
#include "engine/search/m31/lastply.hpp"
#include "engine/search/m31/ordering.hpp"
#include "engine/search/m31/search.hpp"
#include "util/checks.hpp"

namespace morvelak::m31 {

namespace {

// A placement handed down to a node that has none: worked out by the node.
inline constexpr int NO_PLACEMENT = -1000000;

template <Side S, int Fixed>
int oblicz_node(int ply, int d, int alfa, int beta, int pusty, i8* sdroga, u32* trasa, int hanging, int placement,
                u32 key, const PawnStructure* handed);

// A node of the search, by a body of its own two and three plies above the
// leaves (fixed_ply.hpp).
template <Side S>
[[gnu::always_inline]] inline int oblicz(int ply, int d, int alfa, int beta, int pusty, i8* sdroga, u32* trasa,
                                         int hanging = -1, int placement = NO_PLACEMENT, u32 key = 0,
                                         const PawnStructure* handed = nullptr) {
    return at_fixed_ply<2, 3>(ply, [&]<int P>() {
        return oblicz_node<S, P>(ply, d, alfa, beta, pusty, sdroga, trasa, hanging, placement, key, handed);
    });
}

template <Side S> int iteracjasort(int depth, Move* ru, int a, int rodzaj);

template <Side S> inline int& mobility() {
    if constexpr (S == Side::White) return EVAL.ILOSCPOLB; else return EVAL.ILOSCPOLC;
}

// hanging: whether the move that led here left its king attacked, when the
// caller's move loop knows it (KingSafety); -1 has the node look it up.
// placement: the placement part of OCPOZ for this position (its score less
// the mobility), when the caller knows it from its own; NO_PLACEMENT has the
// node work it out.
// key: the position's key, when the caller knows it from its own and the
// move; 0 has the node add it up.
// handed: the pawn structure, when the caller's is this node's too; null
// has the node work it out.
// Fixed: the node's ply when its body is compiled for one (0: any ply).
template <Side S, int Fixed>
[[gnu::noinline]] int oblicz_node(int ply, int d, int alfa, int beta, int pusty, i8* sdroga, u32* trasa,
                                  int hanging, int placement, u32 key, const PawnStructure* handed) {
    if constexpr (Fixed != 0) ply = Fixed;
    using O = Own<S>;
    constexpr Side T = Opp<S>;
    constexpr int sg = O::sign;
    auto reaches = [](int v, int b) { return sg > 0 ? v >= b : v <= b; };
    auto better = [](int v, int b) { return sg > 0 ? v > b : v < b; };
    int& own_bound = sg > 0 ? alfa : beta;
    const int opp_bound = sg > 0 ? beta : alfa;

    // 0. The move's time is up, or the interface wants the move now: unwind.
    //    Whatever this returns is thrown away by the callers.
    if (CONTROL.poll()) return 0;

    // 1. The move that led here left its king en prise: taking it ends the
    //    game, and the sooner the better.
    if (hanging >= 0 ? hanging != 0 : odbicia<S>(POS.PL, king_square<T>()) != 0) {
        put_pair(sdroga, KING_TAKEN, KING_TAKEN);
        return sg * (10000 + ply);
    }

    // 2. A repeated position is a draw: at the first two levels below the
    //    root only on its third occurrence, deeper on its second.
    const bool keyed = pusty == 0 && SEARCH.I == 0;
    if (keyed) {
        trasa[0] = key != 0 ? key : KLUCZ();
        if constexpr (CHECKS) check_equal(trasa[0], KLUCZ(), "position key");
        if (czypotrojne(trasa, ply >= SEARCH.PLY - 1 ? 1 : 0)) {
            put_pair(sdroga, KING_TAKEN, KING_TAKEN);
            return 0;
        }
    }

    // 3. Static evaluation of the node: placement and pawn structure.  Only
    //    the null-move test and the last full-width ply read it, so a node
    //    that has neither skips it (the evaluation has no side effects).
    int w = -sg * 12000;
    const bool nullMove = pusty == 0 && (sg > 0 ? beta < 11000 : alfa > -11000) && own_count<T>() > 3;
    PawnStructure own;  // this node's pawn structure, once worked out
    i8* const pionb = own.pionb;
    i8* const pionc = own.pionc;
    bool pawnsKnown = false;
    auto know_pawns = [&] {
        if (handed != nullptr) {
            own = *handed;
            if constexpr (CHECKS) {
                i8 b[8], c[8];
                check_equal(own.score, OCPION(POS.PL, b, c), "pawn structure handed to a node");
                check_equal(std::memcmp(b, pionb, 8) | std::memcmp(c, pionc, 8), 0, "pawn arrays handed to a node");
                const PawnMasks m = pawn_masks(POS.PL);
                check_equal(m.white != own.masks.white || m.black != own.masks.black || m.stray != own.masks.stray, 0,
                            "pawn masks handed to a node");
            }
        } else {
            pawn_structure(POS.PL, own);
        }
        pawnsKnown = true;
    };
    //    The placement part of le (le less the mobility, read before the
    //    node sets its own move count below) is kept apart: the moves that
    //    take no pawn and do not castle change it by their own terms alone.
    int ocpion = 0, le = 0;
    int nodePlacement = 0;
    bool placementKnown = false;
    if (nullMove || ply == 2) {
        know_pawns();
        ocpion = own.score;
        if (placement != NO_PLACEMENT) {
            nodePlacement = placement;
            le = placement + mobility_balance();
            if constexpr (CHECKS)
                check_equal(le, OCPOZ(POS.PL, POS.BP, POS.CP, pionb, pionc), "placement handed to a node");
        } else {
            le = OCPOZ(POS.PL, POS.BP, POS.CP, pionb, pionc);
            nodePlacement = le - mobility_balance();
        }
        placementKnown = true;
    }
    i8 ndroga[PATH_BYTES];

    // 4. Null move: if S could pass and still refute its caller in a shallow
    //    search of the other side, it will do at least as well with a move.
    //    Not when a mate score is at stake, and not when the other side's
    //    list holds three entries or fewer (a bare ending, where passing is
    //    too often the better move to be assumed worse).
    if (nullMove) {
        int s = d + le + ocpion;
        if (reaches(s, opp_bound - sg * 30)) {
            // The null window lies just inside the bound S has to reach.
            const int na = sg > 0 ? beta - 1 : alfa;
            const int nb = sg > 0 ? beta : alfa + 1;
            if (ply == 2) {
                if (reaches(s, opp_bound))
                    s = tylkobicia<T, Estimate>(POS.PL, own_list<T>(), POS.WYJ, sg > 0 ? beta - 1 : alfa + 1, s);
            } else if (ply == 3) {
                if (reaches(s, opp_bound)) s = oblicz_ply1<T>(s, na, nb, 1, ndroga, 0);
            } else {
                // Passing moves nothing: the placement and the pawn
                // structure stay the node's.
                s = oblicz<T>(ply == 4 ? 2 : ply - 3, d, na, nb, 1, ndroga, trasa + 1, -1, nodePlacement, 0,
                              &own);
                if (CONTROL.stopped) return 0;
            }
            if (reaches(s, opp_bound)) {
                fill_pairs(sdroga, ply, END_OF_LINE);
                return s;
            }
        }
    }

    // 5. Generate: captures first, then the quiet moves.
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
    const int childMobility = ply == 2 ? mobility_balance() : 0;

    // 6. Order the list.  g: length of the prefix already in final order.
    int g = 0;
    bool placed = false;
    //    6.1 One level below the root, the reply found best last time first.
    if (ply == SEARCH.PLY && a > 1) {
        for (int j = 0; j < a; ++j) {
            if (ru[j] == SEARCH.PS) {
                const Move t = ru[j]; ru[j] = ru[0]; ru[0] = t;
                g = 1;
                placed = true;
                break;
            }
        }
    }
    //    6.2 Deep nodes: order everything by a shallow search.
    if (a > 1 && !placed && ply > 6) {
        iteracjasort<S>(internal_sort_depth(ply), ru, a, 1);
        if (CONTROL.stopped) return 0;
        g = 1;
    }
    //    6.3 Near the leaves: captures by static exchange (the good ones stay
    //        ahead of the killers).  Sorts the first aa entries as they stand
    //        after 6.1, and its count replaces g.
    if (ply < 7 && aa > 0) g = sortbic<S>(ru, aa);

    const int ilk = ilk_of(ply);
    const Move* kil = killer_store<S>(SEARCH) + KILLER_ROW * ply;
    int k = 0;  // next killer to try
    i8 zap[8] = {};
    // Above the last full-width ply every move leads into a node that first
    // asks whether the move left S's king attacked: answered here, from
    // whether S stands in check now, by the cheap test after each move.
    const KingSafety<S> safety(ply > 2 && odbicia<T>(POS.PL, king_square<S>()));
    // No move of S moves T's king: its square is read once, for the check
    // tests of the last full-width ply.
    const int enemyKing = ply == 2 ? king_square<T>() : 0;

    // The pawn arrays the placement reads: the node's own, or those of
    // the last child whose pawn took or was taken (kid), at the last
    // full-width ply.
    PawnStructure kid;
    const i8* arraysB = pionb;
    const i8* arraysC = pionc;
    // The placement of a child of the last full-width ply: the node's own
    // changed by the move where the move allows it, in full otherwise.  A
    // child scored in full whose move would have allowed it tells the node's
    // own placement for the pawn arrays now in force.
    auto child_placement = [&](Move m, const i8* z) {
        int change;
        if (!placement_change<S>(z, m.nr, m.x2, arraysB, arraysC, change))
            return OCPOZ(POS.PL, POS.BP, POS.CP, arraysB, arraysC) - childMobility;
        if (!placementKnown) {
            nodePlacement = OCPOZ(POS.PL, POS.BP, POS.CP, arraysB, arraysC) - childMobility - change;
            placementKnown = true;
        } else if constexpr (CHECKS) {
            check_equal(nodePlacement + change, OCPOZ(POS.PL, POS.BP, POS.CP, arraysB, arraysC) - childMobility,
                        "placement after a move at the last full-width ply");
        }
        return nodePlacement + change;
    };
    // Pawn arrays with pawns on other files give the node's own placement
    // another value: it is known again at the next child scored in full.
    // presence: the file presence of the arrays in force before b and c
    // were filled.
    auto read_arrays = [&](const i8* b, const i8* c, unsigned presence) {
        if (file_presence(b, c) != presence) placementKnown = false;
        arraysB = b;
        arraysC = c;
    };

    // 7. Move loop.
    for (int b = 0; b < a; ++b) {
        ++SEARCH.L;
        // 7.1 Behind the ordered prefix: the next killer that is a move here.
        if (b >= g)
            killers_then_late_sort(ru, b, a, kil, k, ilk, ply, SEARCH.PLY,
                                   [](int depth, Move* rest, int n) { iteracjasort<S>(depth, rest, n, 0); });

        // 7.2 Make the move.
        const Move m = ru[b];
        //     A move whose placement change follows from the move (no
        //     castling, no pawn taking or taken) hands its child the node's
        //     placement changed by the move.  Every child of a node two plies
        //     above the leaves needs its placement, so such a node works out
        //     its own at its first move of that kind if it has not yet.  Such
        //     a move leaves a pawn on every file that had one, and the
        //     placement reads no more of the pawn arrays than that.
        if (ply == 3 && !placementKnown && m.x2 >= 0) {
            const i8* entry = own_list<S>() + 2 * m.nr;
            if (placement_follows<S>(entry[0], entry[1], m.x2, POS.PL[m.x2])) {
                know_pawns();
                if (placement == NO_PLACEMENT) {
                    nodePlacement = OCPOZ(POS.PL, POS.BP, POS.CP, pionb, pionc) - mobility_balance();
                } else {
                    nodePlacement = placement;
                    if constexpr (CHECKS)
                        check_equal(placement + mobility_balance(), OCPOZ(POS.PL, POS.BP, POS.CP, pionb, pionc),
                                    "placement handed to a node");
                }
                placementKnown = true;
            }
        }
        const int e = d + zrobruch<S>(zap, m.nr, m.x2);
        const i8 mover = zap[0];
        int v;
        bool pruned = false;
        if (ply == 2) {
            // 7.3 Last full-width ply.  A check or a pawn on the seventh or
            //     eighth rank extends: the last ply then searches every move.
            int ext;
            if (mover == O::pawn && (sg > 0 ? m.x2 >= 71 : m.x2 <= 28)) ext = 1;
            else ext = gives_check<S>(m, zap, enemyKing);  // step 1 saw T's king safe before the move
            // The pawn structure changes only when a pawn moved or was taken.
            // A step straight ahead keeps the node's files and is worked out
            // from the node's structure; after any other pawn move OCPION
            // fills the child's arrays, which later moves of the loop keep
            // using until a step brings back the node's own.
            int p = ocpion;
            if (mover == O::pawn || zap[2] == O::enemyPawn) {
                PawnStructure stepped;
                if (pawn_steps<S>(zap, m.x2) && pawn_step<S>(own, zap[1], m.x2, stepped)) {
                    p = stepped.score;
                    if constexpr (CHECKS) {
                        i8 b[8], c[8];
                        check_equal(p, OCPION(POS.PL, b, c), "pawn structure after a step");
                    }
                    if (arraysB != pionb) read_arrays(pionb, pionc, file_presence(arraysB, arraysC));
                } else {
                    const unsigned presence = file_presence(arraysB, arraysC);
                    pawn_structure(POS.PL, kid);
                    p = kid.score;
                    read_arrays(kid.pionb, kid.pionc, presence);
                }
            }
            // Futility: a quiet-looking move whose value with the node's own
            // placement score stays 110 short of S's bound is not searched.
            const int lazy = le + e + p;
            if (better(lazy, own_bound - sg * 110) || ext == 1) {
                v = oblicz_ply1<T>(child_placement(m, zap) + childMobility + e + p, alfa, beta, pusty, ndroga, ext);
            } else {
                v = lazy;
                pruned = true;
            }
        } else {
            // Deeper: the child gets its placement where the move allows it,
            // and its key from this node's and the move, where this node has
            // worked its own out.
            int change;
            const int given = placementKnown && placement_change<S>(zap, m.nr, m.x2, pionb, pionc, change)
                                  ? nodePlacement + change
                                  : NO_PLACEMENT;
            // The pawn structure goes down unchanged with any move that moves
            // no pawn or king and takes no pawn, and worked out from this
            // node's after a king's move that takes no pawn (castling aside)
            // or a pawn's step.
            const PawnStructure* down = nullptr;
            PawnStructure stepped;
            if (pawnsKnown && m.x2 >= 0 && zap[2] != O::enemyPawn) {
                if (mover == O::king) {
                    king_step<S>(own, zap[1], m.x2, stepped);
                    down = &stepped;
                } else if (mover != O::pawn) {
                    down = &own;
                } else if (pawn_steps<S>(zap, m.x2) && pawn_step<S>(own, zap[1], m.x2, stepped)) {
                    down = &stepped;
                }
            }
            v = oblicz<T>(ply - 1, e, alfa, beta, pusty, ndroga, trasa + 1, safety.attacked(m, zap), given,
                          keyed ? key_after<S>(SEARCH.KEY, trasa[0], zap, m.nr, m.x2) : 0, down);
        }
        // 7.4 Unmake.  A stopped search leaves before its unfinished value
        //     can touch the killers or the expected reply.
        skasujruch<S>(zap, m.nr, m.x2);
        if (CONTROL.stopped) return 0;

        // 7.5 A new best move: remember it as the expected reply at the first
        //     level, and pass its line up.
        if (better(v, w)) {
            w = v;
            if (ply == SEARCH.PLY) SEARCH.PS = m;
            if (pusty == 0 && SEARCH.I == 0) {
                put_pair(sdroga, own_list<S>()[2 * m.nr + 1], m.x2);
                // A pruned move has no line of its own below it.
                if (pruned) std::memset(sdroga + 2, 0, PATH_COPY);
                else std::memcpy(sdroga + 2, ndroga, PATH_COPY);
            }
        }
        // 7.6 Refutation: keep it as a killer, unless it was already in the
        //     ordered prefix of a shallow node.
        if (reaches(v, opp_bound)) {
            if (keeps_killer(b, g, ply)) wstawkillers<S>(SEARCH, m.nr, m.x2, ilk, ply);
            if (ply == SEARCH.PLY) SEARCH.PS = m;
            return v;
        }
        // 7.7 Narrow the window.
        if (better(v, own_bound)) own_bound = v;
    }

    // 8. Every move lost the king at once: mate if S's king is attacked now,
    //    otherwise stalemate.
    if (w == -sg * (10000 + ply - 1) && !odbicia<T>(POS.PL, king_square<S>())) {
        if (pusty == 0 && SEARCH.I == 0) fill_pairs(sdroga, ply, STALEMATE);
        return 0;
    }
    return w;
}

// Orders the a moves at ru by a search of the given depth, best first, and
// returns the best value.  rodzaj = 1: each move after the best so far only
// has to prove itself worse (its value is a bound); rodzaj = 0: full window,
// every value exact.  The searches start from the move's own material change
// only, not from the node's balance, and keep a private key path; they write
// no principal variation.
template <Side S>
int iteracjasort(int depth, Move* ru, int a, int rodzaj) {
    constexpr Side T = Opp<S>;
    u32 history[TRASA_SIZE] = {};
    i8 path[PATH_BYTES];
    return sort_by_search<S>(ru, a, rodzaj, 12000, SEARCH.I, [&](int m, int lo, int hi) {
        return oblicz<T>(depth, m, lo, hi, 0, path, history + 1);
    });
}

}  // namespace

int OBLICZB(int ply, int d, int alfa, int beta, int pusty, i8* sdroga, u32* trasa) {
    return oblicz<Side::White>(ply, d, alfa, beta, pusty, sdroga, trasa);
}
int OBLICZC(int ply, int d, int alfa, int beta, int pusty, i8* sdroga, u32* trasa) {
    return oblicz<Side::Black>(ply, d, alfa, beta, pusty, sdroga, trasa);
}

}  // namespace morvelak::m31
