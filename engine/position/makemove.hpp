// Make and unmake on the position POS: zrobruch<S> (the engine's ZROBRUCHB /
// ZROBRUCHC) and skasujruch<S> (SKASUJRUCHB / SKASUJRUCHC).
//
// The undo record zap holds 8 bytes:
//   [0] moving piece's code before the move (the pawn, for a promotion)
//   [1] origin square            (ordinary moves only)
//   [2] PL[destination] before   (the captured code or 0)
//   [3] captured piece's index in the opponent's list, or -1
//   [4..7] WYJ before the move
// A captured piece keeps its list slot as (0, 0), so no other index moves
// during a search; unmake writes it back.  The make routine returns the
// material change from White's side; promotion is always to a queen and is
// worth a fixed 800, an en-passant capture a fixed 100.
#pragma once

#include <cstring>

#include "engine/position/position.hpp"

namespace morvelak {

// The ordinary-move part of make and unmake (everything but castling),
// shared with m26's light pair.  A record keeps the WYJ byte k
// it saves at z[Base + k]: the full record saves all four at 4..7 (Base 4),
// the light record only WYJ[2] and WYJ[3], at 4 and 5 (Base 2).  The caller
// saves and restores WYJ; these read only the saved en-passant square.
template <Side S, int Base>
[[gnu::always_inline]] inline int make_ordinary(i8* z, int nr, int x2) {
    using O = Own<S>;
    i8* own = own_list<S>();
    i8* opp = own_list<Opp<S>>();
    const int oppCount = own_count<Opp<S>>();
    const i8 piece = own[2 * nr];
    const int from = own[2 * nr + 1];
    const i8 target = POS.PL[x2];
    z[0] = piece;
    z[1] = static_cast<i8>(from);
    z[2] = target;
    z[3] = -1;
    POS.WYJ[2] = 0; POS.WYJ[3] = 0;
    POS.PL[from] = 0;
    POS.PL[x2] = piece;
    own[2 * nr + 1] = static_cast<i8>(x2);

    if (piece == O::pawn) {
        if (from / 10 == O::startRank && x2 / 10 == O::doubleRank) {
            POS.WYJ[5 - O::epSlot] = static_cast<i8>(x2 - O::up);  // the square passed over
        } else if (x2 == z[Base + O::epSlot] && target == 0) {
            // En passant: the enemy pawn stands behind the destination.
            const int victim = x2 - O::up;
            if (const int i = list_index_of(opp, oppCount, victim); i >= 0) {
                z[3] = static_cast<i8>(i);
                POS.PL[victim] = 0;
                opp[2 * i] = 0; opp[2 * i + 1] = 0;
                return O::sign * 100;
            }
        }
    }
    int gain = 0;
    if (target & O::enemy) {
        if (const int i = list_index_of(opp, oppCount, x2); i >= 0) {
            z[3] = static_cast<i8>(i);
            opp[2 * i] = 0; opp[2 * i + 1] = 0;
        }
        gain = -POS.WART[target];
    }
    if (piece == O::pawn && x2 / 10 == O::lastRank) {
        own[2 * nr] = O::queen;
        POS.PL[x2] = O::queen;
        gain += O::sign * 800;
    }
    return gain;
}

template <Side S, int Base>
[[gnu::always_inline]] inline void unmake_ordinary(const i8* z, int nr, int x2) {
    using O = Own<S>;
    i8* own = own_list<S>();
    i8* opp = own_list<Opp<S>>();
    POS.PL[z[1]] = z[0];
    own[2 * nr] = z[0];
    own[2 * nr + 1] = z[1];
    POS.PL[x2] = z[2];
    if (z[3] != -1) {
        if (x2 == z[Base + O::epSlot] && z[0] == O::pawn && z[2] == 0) {
            const int victim = x2 - O::up;
            opp[2 * z[3]] = O::enemyPawn;
            opp[2 * z[3] + 1] = static_cast<i8>(victim);
            POS.PL[victim] = O::enemyPawn;
        } else {
            opp[2 * z[3]] = z[2];
            opp[2 * z[3] + 1] = static_cast<i8>(x2);
        }
    }
}

// The material change zrobruch<S> would return for move m, worked out without
// making it: the piece taken, and 800 for a pawn that reaches the last rank
// and becomes a queen.  False for castling and for a pawn's step onto the
// en-passant square, which are left to make.
template <Side S>
[[gnu::always_inline]] inline bool gain_unmade(Move m, int& gain) {
    using O = Own<S>;
    if (m.x2 < 0) return false;
    const i8 target = POS.PL[m.x2];
    gain = (target & O::enemy) ? -POS.WART[target] : 0;
    if (own_list<S>()[2 * m.nr] == O::pawn) {
        if (target == 0 && m.x2 == POS.WYJ[O::epSlot]) return false;
        if (S == Side::White ? m.x2 > 80 : m.x2 < 19) gain += O::sign * 800;
    }
    return true;
}

// Make and unmake stand around a few lines of work in every move loop, perft's
// above all; always inlined, since clang left them out of line there and paid
// a call for every move.
template <Side S>
[[gnu::always_inline]] inline int zrobruch(i8* z, int nr, int x2) {
    using O = Own<S>;
    std::memcpy(z + 4, POS.WYJ, 4);
    if (x2 >= 0) return make_ordinary<S, 4>(z, nr, x2);

    i8* own = own_list<S>();
    constexpr int e = O::kingHome;
    i8* king = own + 2 * own_king_index<S>();
    z[0] = own[2 * nr];
    z[2] = 0;  // nothing is captured by castling
    if (x2 == CASTLE_SHORT) {
        king[1] = e + 2;
        own[2 * nr + 1] = e + 1;
        POS.PL[e + 2] = O::king; POS.PL[e] = 0; POS.PL[e + 1] = O::rook; POS.PL[e + 3] = 0;
    } else {
        king[1] = e - 2;
        own[2 * nr + 1] = e - 1;
        POS.PL[e - 2] = O::king; POS.PL[e] = 0; POS.PL[e - 1] = O::rook; POS.PL[e - 4] = 0;  // b-file untouched
    }
    POS.WYJ[O::rightsSlot] = 0;
    POS.WYJ[2] = 0; POS.WYJ[3] = 0;
    return 0;
}

template <Side S>
[[gnu::always_inline]] inline void skasujruch(const i8* z, int nr, int x2) {
    using O = Own<S>;
    std::memcpy(POS.WYJ, z + 4, 4);
    if (x2 >= 0) {
        unmake_ordinary<S, 4>(z, nr, x2);
        return;
    }
    i8* own = own_list<S>();
    constexpr int e = O::kingHome;
    i8* king = own + 2 * own_king_index<S>();
    king[1] = e;
    if (x2 == CASTLE_SHORT) {
        own[2 * nr + 1] = e + 3;
        POS.PL[e] = O::king; POS.PL[e + 1] = 0; POS.PL[e + 2] = 0; POS.PL[e + 3] = O::rook;
    } else {
        own[2 * nr + 1] = e - 4;
        POS.PL[e] = O::king; POS.PL[e - 2] = 0; POS.PL[e - 1] = 0; POS.PL[e - 4] = O::rook;
    }
}

}  // namespace morvelak
