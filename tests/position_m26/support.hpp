// Positions for m26's position-level tests: a board drawn as
// eight rows of eight letters (rank 8 first, '.' empty; K P S G W H white,
// lower case black) with its four WYJ numbers, rebuilt with this build's
// material scale; snapshots of everything make/unmake may touch; and a
// deterministic supply of positions from short random games.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "engine/eval/older/eval.hpp"
#include "engine/position/rebuild.hpp"
#include "engine/position/attackmap.hpp"
#include "engine/position/legal.hpp"
#include "engine/position/movegen.hpp"
#include "engine/position/position.hpp"
#include "engine/position/boardfile.hpp"

namespace morvelak::test {

// rows: 64 square letters; wyj: the four numbers of the board file.
inline void set_up(const std::string& rows, const char* wyj = "0 0 0 0") {
    for (i8& b : POS.PL) b = BORDER;
    load_text((rows + "\n" + wyj + "\n").c_str(), POS.PL, POS.WYJ);
    skroctablice(m26::SCALE);
}

// Square from its name, "e4" -> 45.
constexpr int sq(const char* name) { return 10 * (name[1] - '0') + (name[0] - 'a' + 1); }

inline std::string name_of(int s) {
    if (s == CASTLE_SHORT) return "O-O";
    if (s == CASTLE_LONG) return "O-O-O";
    return std::string{file_char(s), rank_char(s)};
}

// A move of side S as "origin-destination" text in the current position.
template <Side S> std::string text(Move m) {
    return name_of(own_list<S>()[2 * m.nr + 1]) + name_of(m.x2);
}
template <Side S> std::vector<std::string> texts(const Move* m, int n) {
    std::vector<std::string> out;
    for (int k = 0; k < n; ++k) out.push_back(text<S>(m[k]));
    return out;
}

// Everything make/unmake may touch.
struct Snapshot {
    std::array<i8, 100> pl;
    std::array<i8, 32> bp, cp;
    i8 ilb, ilc, krolb, krolc;
    std::array<i8, 4> wyj;

    static Snapshot take() {
        Snapshot s;
        std::memcpy(s.pl.data(), POS.PL, 100);
        std::memcpy(s.bp.data(), POS.BP, 32);
        std::memcpy(s.cp.data(), POS.CP, 32);
        s.ilb = POS.ILB; s.ilc = POS.ILC; s.krolb = POS.KROLB; s.krolc = POS.KROLC;
        std::memcpy(s.wyj.data(), POS.WYJ, 4);
        return s;
    }
    void restore() const {
        std::memcpy(POS.PL, pl.data(), 100);
        std::memcpy(POS.BP, bp.data(), 32);
        std::memcpy(POS.CP, cp.data(), 32);
        POS.ILB = ilb; POS.ILC = ilc; POS.KROLB = krolb; POS.KROLC = krolc;
        std::memcpy(POS.WYJ, wyj.data(), 4);
    }
    friend bool operator==(const Snapshot&, const Snapshot&) = default;
};

// A position with its side to move.
struct Sample {
    Snapshot position;
    Side toMove;
};

// Rows of a few game-like starting points: the opening, open middle games
// with both castling rights, a pawn race near promotion, and en passant on
// the board for either side.
struct Start {
    const char* rows;
    const char* wyj;
    Side toMove;
};
inline const std::vector<Start>& starts() {
    static const std::vector<Start> s = {
        {"wsghkgsw" "pppppppp" "........" "........" "........" "........" "PPPPPPPP" "WSGHKGSW",
         "3 3 0 0", Side::White},
        {"w...k..w" "p.pphpg." "gs..ps.." "...PS..." ".p..P..." "..S..H.p" "PPPGGPPP" "W...K..W",
         "3 3 0 0", Side::White},
        {"w...k..w" "p.pphpg." "gs..ps.." "...PS..." ".p..P..." "..S..H.p" "PPPGGPPP" "W...K..W",
         "3 3 0 0", Side::Black},
        {"....k..." ".P....P." "........" "...pP..." "........" "........" ".p....p." "....K...",
         "0 0 0 64", Side::White},
        {"w...k..w" "........" "........" "........" "..pP...." "........" "......PP" "W...K..W",
         "3 3 34 0", Side::Black},
        {"..g.k..w" "pp...ppp" "..s....." "..HpP..." "........" "..S..s.." "PPP..PPP" "W.G.K..W",
         "3 1 0 64", Side::White},
    };
    return s;
}

// Positions from short random games (legal moves only, castling included),
// the same on every run.  Every position reached is kept, the side to move
// alternating; a game stops early where its side has no move.
inline std::vector<Sample> game_positions(int gamesPerStart, int plies) {
    std::vector<Sample> out;
    std::uint32_t seed = 12345;
    auto next = [&seed]() { seed = seed * 1103515245u + 12345u; return (seed >> 16) & 0x7fff; };
    for (const Start& st : starts()) {
        for (int g = 0; g < gamesPerStart; ++g) {
            set_up(st.rows, st.wyj);
            Side side = st.toMove;
            for (int p = 0; p < plies; ++p) {
                out.push_back({Snapshot::take(), side});
                Move ru[MAX_MOVES];
                i8 zap[8];
                const int a = side == Side::White ? generate_legal<Side::White>(ru)
                                                  : generate_legal<Side::Black>(ru);
                if (a == 0) break;
                const Move m = ru[next() % a];
                if (side == Side::White) zrobruch<Side::White>(zap, m.nr, m.x2);
                else zrobruch<Side::Black>(zap, m.nr, m.x2);
                // The driver rebuilds lists, values and rights between moves.
                skroctablice(m26::SCALE);
                side = side == Side::White ? Side::Black : Side::White;
            }
        }
    }
    return out;
}

}  // namespace morvelak::test
