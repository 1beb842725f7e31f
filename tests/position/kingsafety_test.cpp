// The cheap tests after a move against the full attack test they stand in
// for: the mover's king (KingSafety) and the enemy king (gives_check), on the
// moves that open or close lines, and every move of random games; and the
// pawn pre-test of the capture generators (pawn_may_take).
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "engine/position/legal.hpp"
#include "engine/position/makemove.hpp"
#include "support.hpp"

namespace morvelak::test {
namespace {

// Every generated move of side S in the current position: the cheap answer
// must be the full one.  Returns the number of moves that leave the king
// safe, and appends them to `legal`.
template <Side S> int compare_all(std::vector<Move>& legal, const std::string& where, int& checks) {
    Move list[MAX_MOVES];
    int aa;
    const int a = generate_all<S>(list, &aa);
    if (a < 0) return 0;
    const KingSafety<S> safety;
    EXPECT_EQ(safety.check(), odbicia<Opp<S>>(POS.PL, king_square<S>()) != 0) << where;
    const KingSafety<S> told(safety.check());  // a node that knows its check
    i8 zap[8] = {};
    // gives_check assumes the enemy king safe before the move, as in a game.
    const bool enemySafe = !odbicia<S>(POS.PL, king_square<Opp<S>>());
    EXPECT_TRUE(enemySafe) << where;
    // Every pawn with a capture in the generated list passes the pre-test.
    for (int b = 0; b < aa; ++b) {
        const int s = own_list<S>()[2 * list[b].nr + 1];
        if (own_list<S>()[2 * list[b].nr] == Own<S>::pawn && list[b].x2 != s + Own<S>::up) {
            EXPECT_TRUE(pawn_may_take<S>(POS.PL, s, POS.WYJ)) << where << ", pawn on " << s;
        }
    }
    int safe = 0;
    for (int b = 0; b < a; ++b) {
        zrobruch<S>(zap, list[b].nr, list[b].x2);
        const int full = odbicia<Opp<S>>(POS.PL, king_square<S>());
        const int cheap = safety.attacked(list[b], zap);
        EXPECT_EQ(told.attacked(list[b], zap), cheap) << where;
        const int check = odbicia<S>(POS.PL, king_square<Opp<S>>());
        const int cheapCheck = gives_check<S>(list[b], zap);
        skasujruch<S>(zap, list[b].nr, list[b].x2);
        EXPECT_EQ(cheap, full) << where << ", move " << int(list[b].nr) << " -> " << int(list[b].x2);
        EXPECT_EQ(cheapCheck, check) << where << ", check by " << int(list[b].nr) << " -> " << int(list[b].x2);
        checks += check;
        if (!full) {
            legal.push_back(list[b]);
            ++safe;
        }
    }
    return safe;
}

int compare_all(Side s, std::vector<Move>& legal, const std::string& where, int& checks) {
    return s == Side::White ? compare_all<Side::White>(legal, where, checks)
                            : compare_all<Side::Black>(legal, where, checks);
}

// Positions where the origin of a move decides: pins along every kind of
// line, a pinned piece moving along its pin or taking the pinner, en passant
// that opens a rank, king moves next to sliders, checks of every kind.
TEST(KingSafety, AgreesWithTheFullTestWhereLinesOpen) {
    const struct {
        const char* fen;
        int legal;  // moves that keep the king safe
    } cases[] = {
        // Rook pin on the file: the knight may not move, the rook d2 may
        // move along the file only.
        {"4r1k1/8/8/8/8/8/4N3/4K3 w - - 0 1", 4},
        {"3qk3/8/8/8/8/8/3R4/3K4 w - - 0 1", 10},
        // Bishop pins on both diagonals, White's and Black's pawn diagonals.
        {"7k/8/8/8/8/2b5/1P6/K7 w - - 0 1", 3},
        {"k7/1p6/2B5/8/8/8/8/7K b - - 0 1", 3},
        {"k7/8/2B5/3p4/8/8/8/7K b - - 0 1", 2},
        // The pinned queen takes its pinner.
        {"4k3/8/8/8/4r3/8/4Q3/4K3 w - - 0 1", 6},
        // En passant would empty the fifth rank between king and rook.
        {"8/8/8/KPp4r/8/8/8/7k w - c6 0 1", 4},
        {"8/8/8/8/k2Pp2R/8/8/7K b - d3 0 1", 6},
        // ... or a diagonal through the taken pawn alone, off the taker's lines.
        {"b7/8/8/3pP3/8/k7/8/7K w - d6 0 1", 4},
        // Check by a knight, a pawn, a slider; double check.
        {"4k3/8/8/8/8/5n2/8/4K2R w K - 0 1", 4},
        {"4k3/8/8/8/8/8/3p4/4K3 w - - 0 1", 5},
        {"4k3/8/8/8/1b6/8/8/R3K3 w Q - 0 1", 4},
        {"4k3/8/8/8/8/5n2/8/r3K3 w - - 0 1", 2},
        // A king beside a slider's line, and next to the enemy king.
        {"8/8/8/8/8/3k4/8/r3K3 w - - 0 1", 1},
        // The a1-h3 difference is three steps of +9 across the border: no line.
        {"7k/8/8/8/8/7q/8/K7 w - - 0 1", 3},
        {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1", 48},
        // Checks by the mover: a knight's jump, a discovered check by a
        // rook behind a knight, a promotion, castling, en passant opening a
        // bishop's diagonal and a pawn's capture.
        {"4k3/8/8/8/8/8/8/1N2K3 w - - 0 1", 8},
        {"4k3/8/8/8/4N3/8/8/4RK2 w - - 0 1", 18},
        {"3k4/6P1/8/8/8/8/8/4K3 w - - 0 1", 6},
        {"5k2/8/8/8/8/8/8/4K2R w K - 0 1", 15},
        {"6k1/8/8/3pP3/8/8/B7/4K3 w - d6 0 1", 11},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fen);
        const Side s = setup_fen(c.fen);
        const Position before = POS;
        std::vector<Move> legal;
        int checks = 0;
        EXPECT_EQ(compare_all(s, legal, c.fen, checks), c.legal);
        EXPECT_TRUE(POS == before);
    }
}

// Random games from positions full of pins and special moves: at every
// position, every generated move.
TEST(KingSafety, AgreesWithTheFullTestOverRandomGames) {
    const char* starts[] = {
        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
        "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
        "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1",
        "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1",
        "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8",
    };
    std::mt19937 rng(20261207);
    int positions = 0, checks = 0;
    for (int game = 0; game < 150; ++game) {
        Side s = setup_fen(starts[game % 5]);
        for (int ply = 0; ply < 200; ++ply) {
            std::vector<Move> legal;
            compare_all(s, legal, std::string(starts[game % 5]) + ", game " + std::to_string(game) +
                                      ", ply " + std::to_string(ply), checks);
            ++positions;
            if (legal.empty() || ::testing::Test::HasFailure()) break;
            const Move m = legal[rng() % legal.size()];
            i8 zap[8];
            if (s == Side::White) zrobruch<Side::White>(zap, m.nr, m.x2);
            else zrobruch<Side::Black>(zap, m.nr, m.x2);
            s = s == Side::White ? Side::Black : Side::White;
        }
        if (::testing::Test::HasFailure()) break;
    }
    EXPECT_GT(positions, 10000);
    EXPECT_GT(checks, 1000);  // the random games do give checks
}

}  // namespace
}  // namespace morvelak::test
