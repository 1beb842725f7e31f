// A game played on the engine's own position for the book tests: the start
// position from a board file, moves given as coordinate text and checked
// against the engine's legal moves, the lists rebuilt after every move as
// the game driver does.
#pragma once

#include <string>
#include <vector>

#include "engine/eval/m31/eval.hpp"
#include "engine/position/rebuild.hpp"
#include "engine/position/movegen.hpp"
#include "engine/position/makemove.hpp"
#include "engine/position/boardfile.hpp"

namespace morvelak::test {

inline constexpr const char* START_BOARD =
    "wsghkgsw\npppppppp\n........\n........\n........\n........\nPPPPPPPP\nWSGHKGSW\n3 3 0 0\n";

struct PlayedGame {
    Side toMove = Side::White;

    PlayedGame() {
        for (i8& b : POS.PL) b = BORDER;
        load_text(START_BOARD, POS.PL, POS.WYJ);
        skroctablice(m31::SCALE);
    }

    // A legal move with its text (castling as the king's step).
    struct Legal {
        Move m;
        std::string text;
    };

    template <Side S> static std::vector<Legal> legal_moves() {
        using O = Own<S>;
        Move ru[MAX_MOVES], bi[MAX_MOVES];
        int nc = 0;
        int nq;
        if constexpr (S == Side::White) nq = superruchy<Side::White>(POS.PL, POS.BP, ru, bi, POS.WYJ, &nc);
        else nq = superruchy<Side::Black>(POS.PL, POS.CP, ru, bi, POS.WYJ, &nc);
        std::vector<Legal> out;
        if (nq < 0) return out;  // the side not to move is in check
        std::vector<Move> all(bi, bi + nc);
        all.insert(all.end(), ru, ru + nq);
        const i8* list = own_list<S>();
        for (const Move m : all) {
            int from = list[2 * m.nr + 1];
            int to = m.x2;
            if (m.x2 == CASTLE_SHORT) { from = O::kingHome; to = O::kingHome + 2; }
            if (m.x2 == CASTLE_LONG) { from = O::kingHome; to = O::kingHome - 2; }
            i8 zap[8] = {};
            bool legal;
            if constexpr (S == Side::White) {
                zrobruch<Side::White>(zap, m.nr, m.x2);
                const int k = white_king_square();
                legal = on_board(k) && odbicia<Side::Black>(POS.PL, k) == 0;
                skasujruch<Side::White>(zap, m.nr, m.x2);
            } else {
                zrobruch<Side::Black>(zap, m.nr, m.x2);
                const int k = black_king_square();
                legal = on_board(k) && odbicia<Side::White>(POS.PL, k) == 0;
                skasujruch<Side::Black>(zap, m.nr, m.x2);
            }
            if (legal)
                out.push_back({m, {file_char(from), rank_char(from), file_char(to), rank_char(to)}});
        }
        return out;
    }

    // Plays the move written as `text` if it is legal; false otherwise.
    bool play(const std::string& text) {
        const auto moves = toMove == Side::White ? legal_moves<Side::White>() : legal_moves<Side::Black>();
        for (const Legal& l : moves) {
            if (l.text != text) continue;
            i8 zap[8] = {};
            if (toMove == Side::White) zrobruch<Side::White>(zap, l.m.nr, l.m.x2);
            else zrobruch<Side::Black>(zap, l.m.nr, l.m.x2);
            skroctablice(m31::SCALE);
            toMove = toMove == Side::White ? Side::Black : Side::White;
            return true;
        }
        return false;
    }

    // Plays a run of moves written back to back; false at the first illegal one.
    bool play_all(const std::string& moves) {
        for (std::size_t i = 0; i + 4 <= moves.size(); i += 4)
            if (!play(moves.substr(i, 4))) return false;
        return true;
    }
};

}  // namespace morvelak::test
