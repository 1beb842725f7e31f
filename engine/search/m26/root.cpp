#include "engine/eval/older/eval.hpp"
#include "engine/search/m26/root.hpp"

#include <algorithm>
#include <cstring>
#include <utility>

#include "engine/position/rebuild.hpp"
#include "engine/position/material.hpp"
#include "engine/search/control.hpp"
#include "engine/position/makemove.hpp"
#include "engine/search/m26/search.hpp"
#include "engine/search/m26/state.hpp"
#include "engine/search/older/ordering.hpp"

namespace morvelak::m26 {

namespace {

// A node's count as a loop bound that can never leave its arrays.
int recorded(const wezel& w) { return std::clamp(static_cast<int>(w.ile1), 0, NODE_MOVES); }

// The search of the other side after a root move of S.
template <Side S>
int search_reply(int d, int alfa, int beta, i8* ndroga, wezel* child) {
    const int flaga = child != nullptr ? 1 : 0;
    if constexpr (S == Side::White) return OBLICZC(SEARCH.PLY, d, alfa, beta, 0, ndroga, child, flaga);
    else return OBLICZB(SEARCH.PLY, d, alfa, beta, 0, ndroga, child, flaga);
}

}  // namespace

template <Side S>
int presort_root(Move* ru, int a, int g, int n) {
    return older::presort(ru, a, g, n, [](int depth, Move* moves, int count) {
        if constexpr (S == Side::White) ITERACJASORTB(depth, moves, count, 0);
        else ITERACJASORTC(depth, moves, count, 0);
    });
}

template <Side S>
int order_from_replies(Move* ru, int a, SquareMove last) {
    if (last.from == 0) return 0;  // nothing played yet: no entry may match
    const ReplyTables& t = tables<S>();
    const int scan = std::min(a, NODE_MOVES);
    int found = -1;
    for (int b = 0; b < scan; ++b) {
        if (t.tablica1[b] == last) {
            found = b;
            break;
        }
    }
    if (found < 0) return 0;
    int g = 0;
    for (const SquareMove& m : t.tablica2[found]) {
        if (g == a) break;
        if (m.from == 0) continue;  // a cleared entry
        for (int j = g; j < a; ++j) {
            if (origin_of<S>(ru[j]) == m.from && ru[j].x2 == m.x2) {
                std::swap(ru[j], ru[g]);
                ++g;
                break;
            }
        }
    }
    return g;
}

template <Side S>
RootResult search_root(Move* ru, int a, int n, older::Repetitions czypotrojne) {
    constexpr int sg = Own<S>::sign;
    // Analysis builds no tree: the tree serves the next move of a game.
    const bool tree = !CONTROL.analysis;
    wezel& root = korzen<S>();
    // The material of the position, the base of every root move's balance.
    const int material = OCENAMAT(POS.PL, m26::SCALE.pawn);
    int f = -sg * 32000;      // best value so far
    int bound = -sg * 12000;  // alfa for White, beta for Black
    int okno = 24000;
    int p = 0;
    int done = 0;             // moves searched to the end
    SEARCH.PLY = static_cast<i8>(n);
    // The root records as many moves as a node holds; moves beyond are
    // searched all the same, without a tree below them.
    if (tree) root.ile1 = root.ile2 = static_cast<i8>(std::min(a, NODE_MOVES));
    i8 ndroga[older::PATH_BYTES];
    i8 zap[8] = {};
    CONTROL.moveCount = a;

    for (int b = 0; b < a; ++b) {
        const Move m = ru[b];
        CONTROL.moveIndex = b;
        move_text<S>(m, CONTROL.moveText);
        wezel* child = nullptr;
        if (tree && b < NODE_MOVES) {
            root.ruch[b] = m;
            child = nowy_wezel();
            root.nast[b] = child;
        }
        std::memset(ndroga, 0, older::PATH_BYTES);
        const int d = material + zrobruch<S>(zap, m.nr, m.x2);
        int e;
        if (czypotrojne() >= 2) {
            // The board after the move already stood twice in this game:
            // a third time would be a draw, which the engine does not seek.
            e = -sg * 20;
        } else if constexpr (S == Side::White) {
            e = search_reply<S>(d, bound, bound + okno, ndroga, child);
            if (e >= bound + okno && !CONTROL.stopped) {
                // Better than the best: the value itself is wanted, and the
                // tree of the failed search goes.
                if (child) { child->zwolnij(); child->inic(); }
                std::memset(ndroga, 0, older::PATH_BYTES);
                e = search_reply<S>(d, bound, 32000, ndroga, child);
            }
        } else {
            e = search_reply<S>(d, bound - okno, bound, ndroga, child);
            if (e <= bound - okno && !CONTROL.stopped) {
                if (child) { child->zwolnij(); child->inic(); }
                std::memset(ndroga, 0, older::PATH_BYTES);
                e = search_reply<S>(d, -32000, bound, ndroga, child);
            }
        }
        skasujruch<S>(zap, m.nr, m.x2);
        if (CONTROL.stopped) {
            // A move whose search was cut short proves nothing, not even
            // that it beat the window: its subtree goes, and the root keeps
            // the moves before it, each searched to the end.
            if (child) {
                child->zwolnij();
                delete child;
                root.nast[b] = nullptr;
            }
            if (tree) root.ile1 = root.ile2 = static_cast<i8>(std::min(b, NODE_MOVES));
            break;
        }
        ++done;
        okno = 1;
        if (tree && b < NODE_MOVES) root.wart[b] = e;
        if (sg > 0 ? e > bound : e < bound) bound = e;
        if (sg > 0 ? e > f : e < f) {
            f = e;
            p = b;
            // A new best move: the interface hears of it in analysis, or
            // always when it listens for reports.
            if (CONTROL.analysis) std::memcpy(CONTROL.best, CONTROL.moveText, 5);
            report_best(CONTROL.thinking, n, sg * f, SEARCH.L, CONTROL.moveText);
        }
    }
    if (CONTROL.stopped && done == 0) {
        // Nothing searched to the end: the order's first move, unscored.
        p = 0;
        f = 0;
    }
    return RootResult{p, f, done};
}

template <Side S>
void analyse_root(int cap, older::Repetitions czypotrojne) {
    Move ru[MAX_MOVES];
    const int a = generate_root_moves<S>(ru);
    if (a == 0) return;
    clear_counters();
    Move lead = ru[0];
    for (int n = 2; n <= cap; ++n) {
        CONTROL.depth = n;
        presort_root<S>(ru, a, 0, n);
        if (CONTROL.stopped) return;
        // The best move of the depth before leads; the rest keep the order
        // of the pre-sort.
        const int b = static_cast<int>(std::find(ru, ru + a, lead) - ru);
        if (b < a) std::rotate(ru, ru + b, ru + b + 1);
        const RootResult r = search_root<S>(ru, a, n, czypotrojne);
        if (CONTROL.stopped) return;
        lead = ru[r.p];
    }
}

template <Side S>
void keep_replies(Move played) {
    constexpr Side T = Opp<S>;
    wezel& root = korzen<S>();
    root.posortuj(S == Side::White ? "b" : "c");
    ReplyTables& t = tables<S>();
    t.clear();
    if (recorded(root) > 0 && root.ruch[0] == played && root.nast[0] != nullptr) {
        const wezel& replies = *root.nast[0];
        for (int b = 0; b < recorded(replies); ++b) {
            t.tablica1[b] = SquareMove{static_cast<i8>(origin_of<T>(replies.ruch[b])), replies.ruch[b].x2};
            const wezel* next = replies.nast[b];
            if (next == nullptr) continue;
            for (int k = 0; k < recorded(*next); ++k)
                t.tablica2[b][k] = SquareMove{static_cast<i8>(origin_of<S>(next->ruch[k])), next->ruch[k].x2};
        }
    }
    root.zwolnij();
}

template int presort_root<Side::White>(Move*, int, int, int);
template int presort_root<Side::Black>(Move*, int, int, int);
template void analyse_root<Side::White>(int, older::Repetitions);
template void analyse_root<Side::Black>(int, older::Repetitions);
template int order_from_replies<Side::White>(Move*, int, SquareMove);
template int order_from_replies<Side::Black>(Move*, int, SquareMove);
template RootResult search_root<Side::White>(Move*, int, int, older::Repetitions);
template RootResult search_root<Side::Black>(Move*, int, int, older::Repetitions);
template void keep_replies<Side::White>(Move);
template void keep_replies<Side::Black>(Move);

}  // namespace morvelak::m26
