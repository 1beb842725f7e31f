// Positions for the older evaluation's tests: a board drawn as eight rows of
// eight letters (rank 8 first, '.' empty; K P S G W H white, lower case
// black), rebuilt the way the driver does before a move, then scored by one
// build with the phases and mobility counts a test chooses.
#pragma once

#include <string>

#include "engine/position/rebuild.hpp"
#include "engine/eval/older/eval.hpp"
#include "engine/eval/phase.hpp"
#include "engine/position/boardfile.hpp"

namespace morvelak::test {

using older::EVAL;

enum class Build { M28, M26 };

inline constexpr const char* START =
    "wsghkgsw"
    "pppppppp"
    "........"
    "........"
    "........"
    "........"
    "PPPPPPPP"
    "WSGHKGSW";

inline void set_up(const std::string& rows) {
    for (i8& b : POS.PL) b = BORDER;
    load_text((rows + "\n0 0 0 0\n").c_str(), POS.PL, POS.WYJ);
    skroctablice(m28::SCALE);
}

struct Phases {
    int white, black;
    int mobWhite = 0, mobBlack = 0;
};

inline int score(Build b, Phases p) {
    EVAL.STANB = static_cast<i8>(p.white);
    EVAL.STANC = static_cast<i8>(p.black);
    EVAL.ILOSCPOLB = p.mobWhite;
    EVAL.ILOSCPOLC = p.mobBlack;
    return b == Build::M28 ? m28::OCPOZ(POS.PL, POS.BP, POS.CP) : m26::OCPOZ(POS.PL, POS.BP, POS.CP);
}

inline int score(const std::string& rows, Build b, Phases p) {
    set_up(rows);
    return score(b, p);
}

// The board turned round with the colours swapped: each piece of one side
// stands where the other side's piece stood, as seen from its own side.
inline std::string mirrored(const std::string& rows) {
    std::string out;
    for (int r = 7; r >= 0; --r) out += rows.substr(8 * r, 8);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        else if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return out;
}

// The same phases and mobility seen from the mirrored board.
inline Phases swapped(Phases p) { return {p.black, p.white, p.mobBlack, p.mobWhite}; }

}  // namespace morvelak::test
