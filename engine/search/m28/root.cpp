#include "engine/eval/older/eval.hpp"
#include "engine/search/m28/root.hpp"

#include <algorithm>
#include <cstring>

#include "engine/position/rebuild.hpp"
#include "engine/position/material.hpp"
#include "engine/position/legal.hpp"
#include "engine/search/control.hpp"
#include "engine/position/makemove.hpp"
#include "engine/search/m28/hashtable.hpp"
#include "engine/search/m28/search.hpp"
#include "engine/search/older/ordering.hpp"
#include "engine/search/older/state.hpp"

namespace morvelak::m28 {

template <Side S>
int presort_root(Move* ru, int a, int g, int n) {
    return older::presort(ru, a, g, n, [](int depth, Move* moves, int count) {
        if constexpr (S == Side::White) ITERACJASORTB(depth, moves, count, 0);
        else ITERACJASORTC(depth, moves, count, 0);
    });
}

void begin_root(int n) {
    SEARCH.PLY = static_cast<i8>(n);
    SEARCH.HASHL = 0;
}

namespace {

// The progress line before root move b of a: depth, the best score so far
// from the engine's side, the move's number.  White's line has a blank before
// the parenthesis, Black's none; "!" marks the re-search of a move that beat
// the window.
template <Side S>
void progress(int n, int shown, int b, int a, bool failHigh) {
    if (!CONTROL.post || CONTROL.analysis || CONTROL.report) return;
    const char* mark = failHigh ? "!" : "";
    if constexpr (S == Side::White)
        std::fprintf(CONTROL.thinking, "%d %d 1 1 (%d/%d) %sMORVELAK\n", n, shown, b + 1, a, mark);
    else
        std::fprintf(CONTROL.thinking, "%d %d 1 1(%d/%d) %sMORVELAK\n", n, shown, b + 1, a, mark);
    std::fflush(CONTROL.thinking);
}

// The other side's search after a root move of S.
template <Side S>
int search_reply(int n, int d, int alfa, int beta, i8* ndroga) {
    if constexpr (S == Side::White) return OBLICZC(n, d, alfa, beta, 0, ndroga);
    else return OBLICZB(n, d, alfa, beta, 0, ndroga);
}

}  // namespace

template <Side S>
int search_root(const Move* ru, int a, int n, older::Repetitions czypotrojne, int* best, int* finished) {
    constexpr int sg = Own<S>::sign;
    // Analysis leaves the position table to the game.
    const bool records = !CONTROL.analysis;
    // The material base of every root move: the position before it.
    i8 board[100];
    std::memcpy(board, POS.PL, 100);
    const int material = OCENAMAT(board, m28::SCALE.pawn);

    int f = -sg * 12000;      // best score, White's side
    int bound = -sg * 12000;  // alfa for White, beta for Black
    int okno = 24000;         // the first move's window is open
    int p = 0;
    int done = 0;             // moves searched to the end
    i8 ndroga[older::PATH_BYTES];
    i8 zap[8] = {};
    CONTROL.moveCount = a;

    for (int b = 0; b < a; ++b) {
        const Move m = ru[b];
        CONTROL.moveIndex = b;
        move_text<S>(m, CONTROL.moveText);
        progress<S>(n, sg * bound, b, a, false);
        SEARCH.HASHB = 1;  // recording off, unless this search makes a main line
        std::memset(ndroga, 0, sizeof ndroga);
        const int d = material + zrobruch<S>(zap, m.nr, m.x2);
        int e;
        if (czypotrojne() >= 1) {
            // The board after the move stood in the game before.
            e = -sg * 20;
        } else {
            if (b == 0 && records) SEARCH.HASHB = 0;
            // The window: (alfa, alfa + okno) for White, (beta - okno, beta)
            // for Black.
            const int edge = bound + sg * okno;
            e = sg > 0 ? search_reply<S>(n, d, bound, edge, ndroga)
                       : search_reply<S>(n, d, edge, bound, ndroga);
            if ((sg > 0 ? e >= edge : e <= edge) && !CONTROL.stopped) {
                // Better than the best so far: search again with the far end
                // open, and record this main line.
                if (records) SEARCH.HASHB = 0;
                progress<S>(n, sg * bound, b, a, true);
                std::memset(ndroga, 0, sizeof ndroga);
                e = sg > 0 ? search_reply<S>(n, d, bound, 12000, ndroga)
                           : search_reply<S>(n, d, -12000, bound, ndroga);
            }
        }
        skasujruch<S>(zap, m.nr, m.x2);
        // A move whose search was cut short proves nothing, not even that
        // it beat the window.
        if (CONTROL.stopped) break;
        ++done;
        okno = 1;
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
    *best = f;
    if (finished) *finished = done;
    return p;
}

template <Side S>
void analyse_root(int cap, older::Repetitions czypotrojne) {
    Move ru[MAX_MOVES];
    const int a = generate_legal<S>(ru);
    if (a == 0) return;
    SEARCH.HASHB = 1;  // nothing of the analysis goes into the position table
    SEARCH.L = 0;
    Move lead = ru[0];
    for (int n = 2; n <= cap; ++n) {
        CONTROL.depth = n;
        presort_root<S>(ru, a, 0, n);
        if (CONTROL.stopped) return;
        // The best move of the depth before leads; the rest keep the order
        // of the pre-sort.
        const int b = static_cast<int>(std::find(ru, ru + a, lead) - ru);
        if (b < a) std::rotate(ru, ru + b, ru + b + 1);
        SEARCH.PLY = static_cast<i8>(n);
        int best;
        const int p = search_root<S>(ru, a, n, czypotrojne, &best);
        if (CONTROL.stopped) return;
        lead = ru[p];
    }
}

template int presort_root<Side::White>(Move*, int, int, int);
template int presort_root<Side::Black>(Move*, int, int, int);
template int search_root<Side::White>(const Move*, int, int, older::Repetitions, int*, int*);
template int search_root<Side::Black>(const Move*, int, int, older::Repetitions, int*, int*);
template void analyse_root<Side::White>(int, older::Repetitions);
template void analyse_root<Side::Black>(int, older::Repetitions);

}  // namespace morvelak::m28
