#include "engine/search/m31/root.hpp"

#include <cstring>
#include <utility>

#include "engine/position/rebuild.hpp"
#include "engine/position/material.hpp"
#include "engine/eval/m31/eval.hpp"
#include "engine/eval/phase.hpp"
#include "engine/position/legal.hpp"
#include "engine/search/control.hpp"
#include "engine/position/keys.hpp"
#include "engine/position/makemove.hpp"
#include "engine/search/m31/deepening.hpp"
#include "engine/search/m31/ordering.hpp"
#include "engine/search/m31/path.hpp"
#include "engine/search/m31/search.hpp"

namespace morvelak::m31 {

namespace {

// Root ordering: exchange passes until nothing moves, the best wart first
// (greatest for White, smallest for Black); ru and PV travel with wart, and
// equal values never swap.
template <Side S>
void order_root(Move* ru, int* wart, int a) {
    bool swapped = true;
    while (swapped) {
        swapped = false;
        for (int b = 0; b + 1 < a; ++b) {
            if (S == Side::White ? wart[b + 1] > wart[b] : wart[b + 1] < wart[b]) {
                std::swap(wart[b], wart[b + 1]);
                std::swap(ru[b], ru[b + 1]);
                std::swap(SEARCH.PV[b], SEARCH.PV[b + 1]);
                swapped = true;
            }
        }
    }
}

// The search of the other side after a root move of S.
template <Side S>
int search_reply(int d, int alfa, int beta, i8* ndroga) {
    if constexpr (S == Side::White) return OBLICZC(SEARCH.PLY, d, alfa, beta, 0, ndroga, &SEARCH.TRASA[11]);
    else return OBLICZB(SEARCH.PLY, d, alfa, beta, 0, ndroga, &SEARCH.TRASA[11]);
}

// The thinking line of a new best move: depth, score from the engine's side,
// then "1 1" in play, or the real time in centiseconds and the node count in
// analysis, then the line itself.  An interface that takes reports gets the
// line in coordinates instead.
void thinking_line(int depth, int shown, const char* line, const i8* droga) {
    if (CONTROL.report) {
        char coordinates[PATH_TEXT_BYTES];
        path_coordinates(POS.PL, droga, coordinates);
        report_best(CONTROL.thinking, depth, shown, SEARCH.L, coordinates);
        return;
    }
    if (CONTROL.analysis) {
        report_best(CONTROL.thinking, depth, shown, SEARCH.L, line);
        return;
    }
    if (!CONTROL.post) return;
    std::fprintf(CONTROL.thinking, "%d %d 1 1 ", depth, shown);
    std::fprintf(CONTROL.thinking, "%s", line);
    std::fprintf(CONTROL.thinking, "\n");
    std::fflush(CONTROL.thinking);
}

// The iterations of a game's search (depth n - 1 skipped, shallow ones to
// order the next), or of analysis (every depth, each ordered by the rank of
// improvement).
template <Side S>
int iterate(Move* ru, int a, int n, i8* droga, char* ruchkomputera, int* score, int* depth,
            bool everyDepth) {
    constexpr int sg = Own<S>::sign;
    if constexpr (S == Side::White) {
        EVAL.ILOSCPOLB = a;
        SEARCH.L = 0;
    } else {
        EVAL.ILOSCPOLC = a;  // Black clears L before it decides to search
    }
    int wart[MAX_MOVES] = {};
    i8 ndroga[PATH_BYTES];
    char sc[256];
    i8 zap[8] = {};
    const int material = OCENAMAT(POS.PL, m31::SCALE.pawn);
    int best = -sg * 12000;  // alfa for White, beta for Black
    int p = 0;
    // What a stopped search falls back on: the choice of the last iteration
    // that searched every root move.
    Move doneMove = ru[0];
    int doneScore = 0;
    int doneDepth = 0;
    i8 doneDroga[PATH_BYTES] = {};
    *depth = 0;

    for (SEARCH.PLY = 2; SEARCH.PLY <= n; ++SEARCH.PLY) {
        // Play skips depth n - 1 on the way to n; analysis takes every depth.
        if (!everyDepth) SEARCH.PLY = static_cast<i8>(iteration_depth(SEARCH.PLY, n));
        age_killers(SEARCH.PLY, everyDepth ? SEARCH.PLY + 1 : n);
        order_root<S>(ru, wart, a);
        // White starts every iteration with an empty line; Black's is not
        // cleared, as each improvement rewrites all of it that is ever read.
        if constexpr (S == Side::White) std::memset(droga, 0, PATH_BYTES);
        best = -sg * 12000;
        int w = 0;  // improvements so far: 1, 2, ... (White), -1, -2, ... (Black)
        p = 0;
        const bool shallow = !everyDepth && shallow_iteration(SEARCH.PLY, n);
        CONTROL.depth = SEARCH.PLY;
        CONTROL.moveCount = a;

        for (int b = 0; b < a; ++b) {
            // The first move is searched with the open window; every later one
            // only has to show it is better than the best, by a null window,
            // and is searched again with an open far end if it does.
            const int okno = b == 0 ? 24000 : 1;
            const int edge = best + sg * okno;
            std::memset(ndroga, 0, PATH_BYTES);
            const Move m = ru[b];
            CONTROL.moveIndex = b;
            move_text<S>(m, CONTROL.moveText);
            const int d = material + zrobruch<S>(zap, m.nr, m.x2);
            SEARCH.PS = SEARCH.PV[b];
            int e;
            if constexpr (S == Side::White) {
                // Shallow iterations leave the lower end open so that the
                // value orders the next iteration.
                e = search_reply<S>(d, shallow ? -12000 : best, edge, ndroga);
                if (e >= edge && !CONTROL.stopped) {
                    std::memset(ndroga, 0, PATH_BYTES);
                    e = search_reply<S>(d, best, 12000, ndroga);
                }
            } else {
                e = search_reply<S>(d, edge, shallow ? 12000 : best, ndroga);
                if (e <= edge && !CONTROL.stopped) {
                    std::memset(ndroga, 0, PATH_BYTES);
                    e = search_reply<S>(d, -12000, best, ndroga);
                }
            }
            SEARCH.PV[b] = SEARCH.PS;
            skasujruch<S>(zap, m.nr, m.x2);
            // A root move whose search was cut short proves nothing.
            if (CONTROL.stopped) break;

            wart[b] = shallow ? e : 0;
            if (sg > 0 ? e > best : e < best) {
                best = e;
                w += sg;
                if (!shallow) wart[b] = w;
                p = b;
                put_pair(droga, own_list<S>()[2 * m.nr + 1], m.x2);
                std::memcpy(droga + 2, ndroga, PATH_COPY);
                sciezka(POS.PL, sc, droga, ruchkomputera);
                if (CONTROL.analysis) move_text<S>(m, CONTROL.best);
                thinking_line(SEARCH.PLY, sg * best, sc, droga);  // the score from the engine's side
            }
        }
        if (CONTROL.stopped) {
            // Stopped in this iteration: its best move stands if one root
            // move was searched to the end, else the last iteration's choice.
            if (w == 0) {
                p = 0;
                for (int b = 0; b < a; ++b)
                    if (ru[b] == doneMove) p = b;
                best = doneScore;
                std::memcpy(droga, doneDroga, PATH_BYTES);
            } else {
                *depth = SEARCH.PLY;
            }
            if (w == 0) *depth = doneDepth;
            break;
        }
        doneMove = ru[p];
        doneScore = best;
        doneDepth = SEARCH.PLY;
        std::memcpy(doneDroga, droga, PATH_BYTES);
        *depth = SEARCH.PLY;
    }
    *score = best;
    return p;
}

}  // namespace

template <Side S>
int deepen(Move* ru, int a, int n, i8* droga, char* ruchkomputera, int* score, int* depth) {
    int reached;
    return iterate<S>(ru, a, n, droga, ruchkomputera, score, depth ? depth : &reached, false);
}

template <Side S>
int analyse_root(int cap, int* depth) {
    Move ru[MAX_MOVES];
    const int a = generate_legal<S>(ru);
    if (a == 0) {
        *depth = 0;
        return 0;
    }
    i8 droga[PATH_BYTES] = {};
    char text[4];
    int score = 0;
    SEARCH.L = 0;
    iterate<S>(ru, a, cap, droga, text, &score, depth, true);
    return score;
}

template int deepen<Side::White>(Move*, int, int, i8*, char*, int*, int*);
template int deepen<Side::Black>(Move*, int, int, i8*, char*, int*, int*);
template int analyse_root<Side::White>(int, int*);
template int analyse_root<Side::Black>(int, int*);

}  // namespace morvelak::m31
