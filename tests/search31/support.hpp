// Positions for the search tests: a board drawn as eight rows of eight
// letters (rank 8 first, '.' empty, the board file's letters otherwise), set
// up the way the driver does before the engine moves.
#pragma once

#include <cstdio>
#include <initializer_list>
#include <string>

#include "driver/history.hpp"
#include "driver/rebuild.hpp"
#include "engine/eval/m31/eval.hpp"
#include "engine/eval/phase.hpp"
#include "engine/search/keys.hpp"
#include "engine/search/m31/root.hpp"
#include "engine/search/m31/state.hpp"
#include "util/boardfile.hpp"

namespace morvelak::searchtest {

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

// The board, the WYJ bytes ("castling castling ep ep"), the plies played;
// lists, values and evaluation set-up as before a move; a fresh key window
// holding only this position; killers and replies as at program start.
inline void set_up(const std::string& rows, const char* wyj = "0 0 0 0", int plies = 0) {
    static bool once = [] {
        build_geometry();
        fill_keys();
        return true;
    }();
    (void)once;
    for (i8& b : PL) b = BORDER;
    load_text((rows + "\n" + wyj + "\n").c_str(), PL, WYJ);
    R = plies;
    skroctablice(SCALE_NEWEST);
    wstawstan();
    for (u32& t : TRASA) t = 0;
    push_key();
    reset_search_state();
    ILOSCPOLB = ILOSCPOLC = 0;
    L = 0;
}

// The board turned half round with the colours swapped: the twin in which
// the other side stands exactly as this side stood.
inline std::string rotated(const std::string& rows) {
    std::string out(rows.rbegin(), rows.rend());
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        else if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return out;
}

inline constexpr i8 twin_square(int s) { return static_cast<i8>(99 - s); }

// Evaluation reduced to material: every weight 0, every piece-square table
// zero, both colours in the opening (no mobility term).  Scores are then
// exact mirror images for a position and its turned-round twin.
inline void material_only() {
    static const PieceSquare ZERO{};
    DUBEL = SAMOTNY = SLABY = KRYCIE = 0;
    for (int& w : WOLNY) w = 0;
    ODLKROLWOLNY = ODLKROLPION = 0;
    CHRONIKROLA1 = CHRONIKROLA2 = BLOKADASWOJEGO = BLOKADAOBCEGO = 0;
    WWOLNALINIA = WIEZAZDWOJENIE = PARAGONCOW = 0;
    ODLKROLSKOCZEK = ODLKROLGONIEC = ODLKROLWIEZA = ODLKROLHETMAN = 0;
    BKWOLNALINIA = CKWOLNALINIA = 0;
    for (const i8** p : {&OCPIONB, &OCSKOCB, &OCGONCB, &OCWIEZB, &OCHETMB, &OCKROLB, &OCPIONC,
                         &OCSKOCC, &OCGONCC, &OCWIEZC, &OCHETMC, &OCKROLC})
        *p = ZERO.data();
    STANB = STANC = 0;
}

// Silences thinking lines for the lifetime of the object.
struct Quiet {
    std::FILE* sink = std::fopen("/dev/null", "w");
    std::FILE* saved = thinking_stream;
    Quiet() { thinking_stream = sink; }
    ~Quiet() {
        thinking_stream = saved;
        std::fclose(sink);
    }
};

}  // namespace morvelak::searchtest
