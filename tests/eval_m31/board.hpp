// Positions for the evaluation tests: a board drawn as eight rows of eight
// letters (rank 8 first, '.' empty), set up the way the driver does before a
// move (rebuild, then the evaluation set-up for the plies played), and
// helpers that silence every weight and table but the one a test looks at.
#pragma once

#include <string>

#include "driver/history.hpp"
#include "engine/position/rebuild.hpp"
#include "engine/eval/m31/eval.hpp"
#include "engine/eval/phase.hpp"
#include "engine/position/boardfile.hpp"

namespace morvelak::test {

using namespace morvelak::m31;

inline constexpr const char* START =
    "wsghkgsw"
    "pppppppp"
    "........"
    "........"
    "........"
    "........"
    "PPPPPPPP"
    "WSGHKGSW";

// Sets up the board and the game counter and runs the evaluation set-up.
inline void set_up(const std::string& rows, int plies = 0) {
    for (i8& b : POS.PL) b = BORDER;
    load_text((rows + "\n0 0 0 0\n").c_str(), POS.PL, POS.WYJ);
    skroctablice(m31::SCALE);
    GAME.R = plies;
    m31::EVAL = EvalState{};
    wstawstan(GAME.R);
}

// The board turned half round with the colours swapped: every piece of one
// side stands where the other side's piece stood, seen from its own side.
// Each list visits the twin's pieces in the mirrored order.
inline std::string rotated(const std::string& rows) {
    std::string out(rows.rbegin(), rows.rend());
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        else if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return out;
}

inline const PieceSquare ZERO{};

// Every weight 0 and every table pointer at a table of zeros.
inline void silence() {
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
    EVAL.ILOSCPOLB = EVAL.ILOSCPOLC = 0;
}

struct Eval {
    int pawns;
    int placement;
    i8 pionb[8];
    i8 pionc[8];
};

// OCPION then OCPOZ on the current position, as the search calls them.
inline Eval evaluate() {
    Eval e{};
    for (int f = 0; f < 8; ++f) e.pionb[f] = e.pionc[f] = 0x55;  // must be overwritten
    e.pawns = OCPION(POS.PL, e.pionb, e.pionc);
    e.placement = OCPOZ(POS.PL, POS.BP, POS.CP, e.pionb, e.pionc);
    return e;
}

}  // namespace morvelak::test
