// Helpers shared by the position tests: setting up the position POS from
// FEN (checked) or from a bare board field (unchecked, for positions no game
// reaches), the position's own invariants, and move lists as vectors.  (A
// test keeps the whole position by copying POS.)
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "engine/eval/m31/eval.hpp"
#include "engine/position/rebuild.hpp"
#include "engine/position/fen.hpp"
#include "engine/position/movegen.hpp"
#include "engine/position/position.hpp"

namespace morvelak::test {

// Sets POS from a FEN that parse_fen accepts, rebuilds the lists with m31's
// scale and returns the side to move.
inline Side setup_fen(const std::string& fen) {
    FenPosition pos;
    std::string error;
    EXPECT_TRUE(parse_fen(fen, pos, error)) << fen << ": " << error;
    std::memcpy(POS.PL, pos.pl, 100);
    std::memcpy(POS.WYJ, pos.wyj, 4);
    skroctablice(m31::SCALE);
    return pos.toMove;
}

// Sets the board POS.PL from the board field of a FEN without any legality
// test (a king may hang, kings may be missing), WYJ from `wyj`, and rebuilds.
inline void setup_board(const char* board, std::array<i8, 4> wyj = {0, 0, 0, 0},
                        Scale scale = m31::SCALE) {
    for (i8& b : POS.PL) b = BORDER;
    int rank = 8, file = 1;
    for (const char* p = board; *p; ++p) {
        if (*p == '/') { --rank; file = 1; continue; }
        if (*p >= '1' && *p <= '8') {
            for (int k = 0; k < *p - '0'; ++k) POS.PL[10 * rank + file++] = EMPTY;
            continue;
        }
        i8 code = EMPTY;
        switch (*p) {
        case 'K': code = W_KING; break;
        case 'P': code = W_PAWN; break;
        case 'N': code = W_KNIGHT; break;
        case 'B': code = W_BISHOP; break;
        case 'R': code = W_ROOK; break;
        case 'Q': code = W_QUEEN; break;
        case 'k': code = B_KING; break;
        case 'p': code = B_PAWN; break;
        case 'n': code = B_KNIGHT; break;
        case 'b': code = B_BISHOP; break;
        case 'r': code = B_ROOK; break;
        case 'q': code = B_QUEEN; break;
        default: ADD_FAILURE() << "bad board letter " << *p; break;
        }
        POS.PL[10 * rank + file++] = code;
    }
    std::memcpy(POS.WYJ, wyj.data(), 4);
    skroctablice(scale);
}

// Square from its name, "e4" -> 45.
constexpr int sq(const char* name) { return 10 * (name[1] - '0') + (name[0] - 'a' + 1); }

// Index of the list entry standing on `square` for side S, or -1.
template <Side S> int index_on(int square) {
    for (int i = 0; i < own_count<S>(); ++i)
        if (own_list<S>()[2 * i + 1] == square && own_list<S>()[2 * i] != 0) return i;
    return -1;
}

using Moves = std::vector<std::pair<int, int>>;

inline Moves to_pairs(const Move* m, int n) {
    Moves out;
    for (int k = 0; k < n; ++k) out.emplace_back(m[k].nr, m[k].x2);
    return out;
}

// The two lists of the full generator for side S.
struct Generated {
    int result;  // quiet count or -1
    Moves quiet;
    Moves captures;
};

template <Side S> Generated generate() {
    Move ru[MAX_MOVES], bi[MAX_MOVES];
    int nb = 0;
    const int r = superruchy<S>(POS.PL, own_list<S>(), ru, bi, POS.WYJ, &nb);
    Generated g{r, {}, {}};
    if (r >= 0) {
        g.quiet = to_pairs(ru, r);
        g.captures = to_pairs(bi, nb);
    }
    return g;
}

// Keeps only the moves of list index `nr`.
inline Moves of_piece(const Moves& all, int nr) {
    Moves out;
    for (auto m : all)
        if (m.first == nr) out.push_back(m);
    return out;
}

// The position's own invariants: every list entry in use with a code stands
// on the board, each piece on the board has exactly one entry, the king
// indices name the kings.  Returns an empty string when all hold.
inline std::string position_fault() {
    int seen[100] = {};
    for (int side = 0; side < 2; ++side) {
        const i8* list = side ? POS.CP : POS.BP;
        const int n = side ? POS.ILC : POS.ILB;
        const i8 bit = side ? BLACK_BIT : WHITE_BIT;
        for (int i = 0; i < n; ++i) {
            const int code = list[2 * i], s = list[2 * i + 1];
            if (code == 0 && s == 0) continue;
            if (!(code & bit)) return "entry " + std::to_string(i) + " has a foreign code";
            if (s < 11 || s > 88 || POS.PL[s] != code)
                return "entry " + std::to_string(i) + " does not match the board at " + std::to_string(s);
            ++seen[s];
        }
    }
    for (int s = 11; s <= 88; ++s) {
        if (!on_board(s)) continue;
        if (POS.PL[s] != 0 && seen[s] != 1) return "square " + std::to_string(s) + " is in the lists " +
                                              std::to_string(seen[s]) + " times";
    }
    if (POS.BP[2 * POS.KROLB] != W_KING) return "KROLB does not name the white king";
    if (POS.CP[2 * POS.KROLC] != B_KING) return "KROLC does not name the black king";
    for (int i = 0; i < 100; ++i)
        if (!on_board(i) && POS.PL[i] != BORDER) return "border square " + std::to_string(i) + " changed";
    return {};
}

}  // namespace morvelak::test
