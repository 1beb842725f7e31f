// Positions for the search tests, set up the way the driver does before the
// engine moves: board and WYJ from a FEN, the list rebuild, the evaluation
// set-up for the plies played, a key window holding only this position, and
// killers and replies as at program start.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <string>

#include "driver/history.hpp"
#include "engine/position/rebuild.hpp"
#include "engine/eval/m31/eval.hpp"
#include "engine/eval/phase.hpp"
#include "engine/position/fen.hpp"
#include "engine/position/keys.hpp"
#include "engine/search/m31/root.hpp"
#include "engine/search/control.hpp"
#include "engine/search/m31/lastply.hpp"
#include "engine/search/m31/state.hpp"
#include "util/random.hpp"

namespace morvelak::test {

using namespace morvelak::m31;

inline constexpr const char* START = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

// twin = true sets up the colour-mirrored twin instead: the board turned half
// round with the colours swapped, so that each side's list visits its pieces
// in the order the other side's list visited them (no castling, no en passant).
inline void set_up(const char* fen, int plies = 0, bool twin = false) {
    FenPosition pos;
    std::string error;
    if (!parse_fen(fen, pos, error)) {
        std::fprintf(stderr, "%s: %s\n", fen, error.c_str());
        std::abort();
    }
    std::memcpy(POS.PL, pos.pl, 100);
    std::memcpy(POS.WYJ, pos.wyj, 4);
    if (twin) {
        for (int s = 11; s <= 88; ++s) {
            const i8 c = pos.pl[s];
            POS.PL[99 - s] = c & WHITE_BIT ? static_cast<i8>(c + 8) : c & BLACK_BIT ? static_cast<i8>(c - 8) : c;
        }
        std::memset(POS.WYJ, 0, 4);
    }
    GAME.R = plies;
    skroctablice(m31::SCALE);
    EVAL = EvalState{};
    wstawstan(GAME.R);
    // A fresh search state, its keys from the generator's first draws.
    SEARCH = SearchState{};
    Random keys;
    fill_keys(SEARCH.KEY, keys);
    push_key();
}

inline constexpr i8 twin_square(int s) { return static_cast<i8>(99 - s); }

// A move's text on the twin board ("e2e4" becomes "d7d5").
inline std::string twin_text(const std::string& m) {
    std::string t = m;
    for (int i : {0, 2}) {
        t[i] = static_cast<char>('a' + 'h' - m[i]);
        t[i + 1] = static_cast<char>('1' + '8' - m[i + 1]);
    }
    return t;
}

// Evaluation reduced to material: every weight 0, every piece-square table
// zero, both colours in the opening (no mobility term).  A position and its
// twin then score exact negatives, and tuning the evaluation moves nothing.
inline void material_only() {
    static const PieceSquare ZERO{};
    EVAL.DUBEL = EVAL.SAMOTNY = EVAL.SLABY = EVAL.KRYCIE = 0;
    for (int& w : EVAL.WOLNY) w = 0;
    EVAL.ODLKROLWOLNY = EVAL.ODLKROLPION = 0;
    EVAL.CHRONIKROLA1 = EVAL.CHRONIKROLA2 = EVAL.BLOKADASWOJEGO = EVAL.BLOKADAOBCEGO = 0;
    EVAL.WWOLNALINIA = EVAL.WIEZAZDWOJENIE = EVAL.PARAGONCOW = 0;
    EVAL.ODLKROLSKOCZEK = EVAL.ODLKROLGONIEC = EVAL.ODLKROLWIEZA = EVAL.ODLKROLHETMAN = 0;
    EVAL.BKWOLNALINIA = EVAL.CKWOLNALINIA = 0;
    for (const i8** p : {&EVAL.OCPIONB, &EVAL.OCSKOCB, &EVAL.OCGONCB, &EVAL.OCWIEZB, &EVAL.OCHETMB,
                         &EVAL.OCKROLB, &EVAL.OCPIONC, &EVAL.OCSKOCC, &EVAL.OCGONCC, &EVAL.OCWIEZC,
                         &EVAL.OCHETMC, &EVAL.OCKROLC})
        *p = ZERO.data();
    EVAL.STANB = EVAL.STANC = 0;
}

// Everything written to a temporary file, read back.
inline std::string contents(std::FILE* f) {
    std::string s;
    std::rewind(f);
    for (int c; (c = std::fgetc(f)) != EOF;) s.push_back(static_cast<char>(c));
    return s;
}

// Sends thinking lines to a temporary file for the lifetime of the object.
struct Thinking {
    std::FILE* file = std::tmpfile();
    std::FILE* saved = CONTROL.thinking;
    Thinking() { CONTROL.thinking = file; }
    ~Thinking() {
        CONTROL.thinking = saved;
        std::fclose(file);
    }
    std::string text() const { return contents(file); }
};

}  // namespace morvelak::test
