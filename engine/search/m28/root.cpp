#include "engine/search/m28/root.hpp"

#include <cstring>

#include "driver/old/history.hpp"
#include "driver/rebuild.hpp"
#include "engine/eval/material.hpp"
#include "engine/search/makemove.hpp"
#include "engine/search/m28/hashtable.hpp"
#include "engine/search/m28/search.hpp"
#include "engine/search/old/ordering.hpp"
#include "engine/search/old/state.hpp"

namespace morvelak::m28 {

std::FILE* progress_stream = stdout;

template <Side S>
void presort_root(Move* ru, int a, int g, int n) {
    if (g >= a) return;
    const int depth = old::presort_depth(n);
    if constexpr (S == Side::White) ITERACJASORTB(depth, ru + g, a - g, 0);
    else ITERACJASORTC(depth, ru + g, a - g, 0);
}

void begin_root(int n) {
    PLY = static_cast<i8>(n);
    HASHL = 0;
}

namespace {

// The progress line before root move b of a: depth, the best score so far
// from the engine's side, the move's number.  White's line has a blank before
// the parenthesis, Black's none; "!" marks the re-search of a move that beat
// the window.
template <Side S>
void progress(int n, int shown, int b, int a, bool failHigh) {
    const char* mark = failHigh ? "!" : "";
    if constexpr (S == Side::White)
        std::fprintf(progress_stream, "%d %d 1 1 (%d/%d) %sMORVELAK\n", n, shown, b + 1, a, mark);
    else
        std::fprintf(progress_stream, "%d %d 1 1(%d/%d) %sMORVELAK\n", n, shown, b + 1, a, mark);
    std::fflush(progress_stream);
}

// The other side's search after a root move of S.
template <Side S>
int search_reply(int n, int d, int alfa, int beta, i8* ndroga) {
    if constexpr (S == Side::White) return OBLICZC(n, d, alfa, beta, 0, ndroga);
    else return OBLICZB(n, d, alfa, beta, 0, ndroga);
}

}  // namespace

template <Side S>
int search_root(const Move* ru, int a, int n, int* best) {
    constexpr int sg = Own<S>::sign;
    // The material base of every root move: the position before it.
    i8 board[100];
    std::memcpy(board, PL, 100);
    const int material = OCENAMAT(board, SCALE_HASH_BUILD.pawn);

    int f = -sg * 12000;      // best score, White's side
    int bound = -sg * 12000;  // alfa for White, beta for Black
    int okno = 24000;         // the first move's window is open
    int p = 0;
    i8 ndroga[old::PATH_BYTES];
    i8 zap[8] = {};

    for (int b = 0; b < a; ++b) {
        progress<S>(n, sg * bound, b, a, false);
        HASHB = 1;  // recording off, unless this search makes a main line
        std::memset(ndroga, 0, sizeof ndroga);
        const Move m = ru[b];
        const int d = material + zrobruch<S>(zap, m.nr, m.x2);
        int e;
        if (old::czypotrojne() >= 1) {
            // The board after the move stood in the game before.
            e = -sg * 20;
        } else {
            if (b == 0) HASHB = 0;
            // The window: (alfa, alfa + okno) for White, (beta - okno, beta)
            // for Black.
            const int edge = bound + sg * okno;
            e = sg > 0 ? search_reply<S>(n, d, bound, edge, ndroga)
                       : search_reply<S>(n, d, edge, bound, ndroga);
            if (sg > 0 ? e >= edge : e <= edge) {
                // Better than the best so far: search again with the far end
                // open, and record this main line.
                HASHB = 0;
                progress<S>(n, sg * bound, b, a, true);
                std::memset(ndroga, 0, sizeof ndroga);
                e = sg > 0 ? search_reply<S>(n, d, bound, 12000, ndroga)
                           : search_reply<S>(n, d, -12000, bound, ndroga);
            }
        }
        skasujruch<S>(zap, m.nr, m.x2);
        okno = 1;
        if (sg > 0 ? e > bound : e < bound) bound = e;
        if (sg > 0 ? e > f : e < f) {
            f = e;
            p = b;
        }
    }
    *best = f;
    return p;
}

template void presort_root<Side::White>(Move*, int, int, int);
template void presort_root<Side::Black>(Move*, int, int, int);
template int search_root<Side::White>(const Move*, int, int, int*);
template int search_root<Side::Black>(const Move*, int, int, int*);

}  // namespace morvelak::m28
