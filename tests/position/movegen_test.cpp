// Generation order of the full generator and the capture list: which list a
// move goes to, piece-list order, ray order, castling and en passant.
#include <gtest/gtest.h>

#include "engine/position/captures.hpp"
#include "support.hpp"

namespace morvelak::test {
namespace {

constexpr const char* START = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

TEST(Generator, StartPositionWhiteQuietOrder) {
    setup_fen(START);
    const Generated g = generate<Side::White>();
    Moves expected;
    for (int f = 1; f <= 8; ++f) {
        expected.emplace_back(f - 1, 30 + f);
        expected.emplace_back(f - 1, 40 + f);
    }
    expected.insert(expected.end(), {{9, 33}, {9, 31}, {14, 38}, {14, 36}});
    EXPECT_EQ(g.result, 20);
    EXPECT_EQ(g.quiet, expected);
    EXPECT_TRUE(g.captures.empty());
}

TEST(Generator, StartPositionBlackQuietOrderMirrors) {
    setup_fen(START);
    const Generated g = generate<Side::Black>();
    // Black's list runs h7..a7, then h8..a8: knight g8 is entry 9, b8 entry 14.
    Moves expected;
    for (int f = 8; f >= 1; --f) {
        expected.emplace_back(8 - f, 60 + f);
        expected.emplace_back(8 - f, 50 + f);
    }
    expected.insert(expected.end(), {{9, 66}, {9, 68}, {14, 61}, {14, 63}});
    EXPECT_EQ(g.result, 20);
    EXPECT_EQ(g.quiet, expected);
    EXPECT_TRUE(g.captures.empty());
}

// A lone slider of either colour on d4 (44) with an enemy knight two squares
// away on every line it has: the captures come in the slider's direction
// order, the quiet moves in the same order, one per ray.
TEST(Generator, RayOrdersOfEverySlider) {
    const struct {
        const char* board;
        Side side;
        Moves captures;  // of the piece on d4
        Moves quiet;
    } cases[] = {
        // White queen: +11, +9, +10, +1, -1, -11, -9, -10.
        {"k7/8/1n1n1n2/8/1n1Q1n2/8/1n1n1n2/7K", Side::White,
         {{0, 66}, {0, 62}, {0, 64}, {0, 46}, {0, 42}, {0, 22}, {0, 26}, {0, 24}},
         {{0, 55}, {0, 53}, {0, 54}, {0, 45}, {0, 43}, {0, 33}, {0, 35}, {0, 34}}},
        // White bishop: +11, +9, -11, -9.
        {"k7/8/1n1n1n2/8/1n1B1n2/8/1n1n1n2/7K", Side::White,
         {{0, 66}, {0, 62}, {0, 22}, {0, 26}},
         {{0, 55}, {0, 53}, {0, 33}, {0, 35}}},
        // White rook: +10, +1, -1, -10.
        {"k7/8/1n1n1n2/8/1n1R1n2/8/1n1n1n2/7K", Side::White,
         {{0, 64}, {0, 46}, {0, 42}, {0, 24}},
         {{0, 54}, {0, 45}, {0, 43}, {0, 34}}},
        // Black queen in the full generator: -11, -9, -10, +1, -1, +11, +9, +10.
        {"K7/8/1N1N1N2/8/1N1q1N2/8/1N1N1N2/7k", Side::Black,
         {{1, 22}, {1, 26}, {1, 24}, {1, 46}, {1, 42}, {1, 66}, {1, 62}, {1, 64}},
         {{1, 33}, {1, 35}, {1, 34}, {1, 45}, {1, 43}, {1, 55}, {1, 53}, {1, 54}}},
        // Black bishop: -11, -9, +11, +9.
        {"K7/8/1N1N1N2/8/1N1b1N2/8/1N1N1N2/7k", Side::Black,
         {{1, 22}, {1, 26}, {1, 66}, {1, 62}},
         {{1, 33}, {1, 35}, {1, 55}, {1, 53}}},
        // Black rook: -10, +1, -1, +10.
        {"K7/8/1N1N1N2/8/1N1r1N2/8/1N1N1N2/7k", Side::Black,
         {{1, 24}, {1, 46}, {1, 42}, {1, 64}},
         {{1, 34}, {1, 45}, {1, 43}, {1, 54}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.board);
        setup_board(c.board);
        const int nr = c.side == Side::White ? index_on<Side::White>(44) : index_on<Side::Black>(44);
        ASSERT_EQ(nr, c.captures[0].first);
        const Generated g = c.side == Side::White ? generate<Side::White>() : generate<Side::Black>();
        ASSERT_GE(g.result, 0);
        EXPECT_EQ(of_piece(g.captures, nr), c.captures);
        EXPECT_EQ(of_piece(g.quiet, nr), c.quiet);
    }
}

// The capture list uses its own direction tables; Black's queen looks
// straight down first there (-10, -11, -9, ...), unlike the full generator.
TEST(CaptureList, RayOrdersOfEverySlider) {
    const struct {
        const char* board;
        Side side;
        Moves captures;
    } cases[] = {
        {"k7/8/1n1n1n2/8/1n1Q1n2/8/1n1n1n2/7K", Side::White,
         {{0, 66}, {0, 62}, {0, 64}, {0, 46}, {0, 42}, {0, 22}, {0, 26}, {0, 24}}},
        {"k7/8/1n1n1n2/8/1n1B1n2/8/1n1n1n2/7K", Side::White, {{0, 66}, {0, 62}, {0, 22}, {0, 26}}},
        {"k7/8/1n1n1n2/8/1n1R1n2/8/1n1n1n2/7K", Side::White, {{0, 64}, {0, 46}, {0, 42}, {0, 24}}},
        {"K7/8/1N1N1N2/8/1N1q1N2/8/1N1N1N2/7k", Side::Black,
         {{1, 24}, {1, 22}, {1, 26}, {1, 46}, {1, 42}, {1, 66}, {1, 62}, {1, 64}}},
        {"K7/8/1N1N1N2/8/1N1b1N2/8/1N1N1N2/7k", Side::Black, {{1, 22}, {1, 26}, {1, 66}, {1, 62}}},
        {"K7/8/1N1N1N2/8/1N1r1N2/8/1N1N1N2/7k", Side::Black, {{1, 24}, {1, 46}, {1, 42}, {1, 64}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.board);
        setup_board(c.board);
        Move ru[MAX_MOVES];
        const int n = c.side == Side::White ? bicia<Side::White>(POS.PL, POS.BP, ru, POS.WYJ) : bicia<Side::Black>(POS.PL, POS.CP, ru, POS.WYJ);
        ASSERT_GE(n, 0);
        EXPECT_EQ(of_piece(to_pairs(ru, n), c.captures[0].first), c.captures);
    }
}

TEST(Generator, PawnMovesAndPromotions) {
    const struct {
        const char* board;
        std::array<i8, 4> wyj;
        Side side;
        int square;       // the pawn
        Moves captures;   // its entries in bi (promotions included)
        Moves quiet;      // its entries in ru
        Moves captureList;  // its entries in the BICIA* list
    } cases[] = {
        // a7 with a rook on b8: the capture, then the promoting step; nothing quiet.
        {"1r2k3/P7/8/8/8/8/8/4K3", {}, Side::White, 71, {{0, 82}, {0, 81}}, {}, {{0, 82}, {0, 81}}},
        // b7 with b8 occupied and nothing to take: no move at all.
        {"1r2k3/1P6/8/8/8/8/8/4K3", {}, Side::White, 72, {}, {}, {}},
        // b7 with rooks on a8 and c8: left capture, right capture, step.
        {"r1r1k3/1P6/8/8/8/8/8/4K3", {}, Side::White, 72, {{0, 81}, {0, 83}, {0, 82}}, {}, {{0, 81}, {0, 83}, {0, 82}}},
        // e2: single then double step.
        {"4k3/8/8/8/8/8/4P3/K7", {}, Side::White, 25, {}, {{0, 35}, {0, 45}}, {}},
        // e2 with e4 occupied: only the single step; with e3 occupied: nothing.
        {"4k3/8/8/8/4n3/8/4P3/K7", {}, Side::White, 25, {}, {{0, 35}}, {}},
        {"4k3/8/8/8/8/4n3/4P3/K7", {}, Side::White, 25, {}, {}, {}},
        // e3 is not on the start rank: no double step.
        {"4k3/8/8/8/8/4P3/8/K7", {}, Side::White, 35, {}, {{0, 45}}, {}},
        // A pawn on the a-file never captures across the border.
        {"4k3/8/8/8/8/1n6/P7/K7", {}, Side::White, 21, {{0, 32}}, {{0, 31}, {0, 41}}, {{0, 32}}},
        // En passant for White: e5 takes on d6 (WYJ[3] = 64), after the plain step.
        {"4k3/8/8/3pP3/8/8/8/K7", {0, 0, 0, 64}, Side::White, 55, {{0, 64}}, {{0, 65}}, {{0, 64}}},
        // The same pawn without the en-passant byte: no capture onto the empty square.
        {"4k3/8/8/3pP3/8/8/8/K7", {0, 0, 0, 0}, Side::White, 55, {}, {{0, 65}}, {}},
        // Black: d4 takes on e3 (WYJ[2] = 35); capture order -9 (e3) before -11 (c3).
        {"7k/8/8/8/3pP3/2N5/8/K7", {0, 0, 35, 0}, Side::Black, 44, {{0, 35}, {0, 33}}, {{0, 34}}, {{0, 35}, {0, 33}}},
        // Black a2 promotes with b1 taken first, then the step.
        {"4k3/8/8/8/8/8/p7/1N2K3", {}, Side::Black, 21, {{0, 12}, {0, 11}}, {}, {{0, 12}, {0, 11}}},
        // Black double step from rank 7.
        {"4k3/3p4/8/8/8/8/8/K7", {}, Side::Black, 74, {}, {{0, 64}, {0, 54}}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.board);
        setup_board(c.board, c.wyj);
        const bool white = c.side == Side::White;
        const int nr = white ? index_on<Side::White>(c.square) : index_on<Side::Black>(c.square);
        ASSERT_GE(nr, 0);
        const Generated g = white ? generate<Side::White>() : generate<Side::Black>();
        ASSERT_GE(g.result, 0);
        EXPECT_EQ(of_piece(g.captures, nr), c.captures);
        EXPECT_EQ(of_piece(g.quiet, nr), c.quiet);
        Move ru[MAX_MOVES];
        const int n = white ? bicia<Side::White>(POS.PL, POS.BP, ru, POS.WYJ) : bicia<Side::Black>(POS.PL, POS.CP, ru, POS.WYJ);
        ASSERT_GE(n, 0);
        EXPECT_EQ(of_piece(to_pairs(ru, n), nr), c.captureList);
    }
}

TEST(Generator, KingAndKnightFollowTheirTables) {
    // King e4 surrounded by enemy and empty squares alternately; knight e4 likewise.
    setup_board("7k/8/8/3p1p2/4K3/3p1p2/8/8");
    const Generated g = generate<Side::White>();
    // up, up-right, right, down-right, down, down-left, left, up-left
    EXPECT_EQ(g.quiet, (Moves{{0, 55}, {0, 46}, {0, 35}, {0, 44}}));
    EXPECT_EQ(g.captures, (Moves{{0, 56}, {0, 36}, {0, 34}, {0, 54}}));

    setup_board("7k/8/3p1p2/8/4N3/8/8/K7");
    const Generated n = generate<Side::White>();
    // e4: +21 f6, +12 g5, +19 d6, +8 c5, -12 c3, -21 d2, -19 f2, -8 g3
    EXPECT_EQ(of_piece(n.captures, 0), (Moves{{0, 66}, {0, 64}}));
    EXPECT_EQ(of_piece(n.quiet, 0), (Moves{{0, 57}, {0, 53}, {0, 33}, {0, 24}, {0, 26}, {0, 37}}));
}

TEST(Generator, ListsFollowPieceListOrder) {
    // White's list runs from rank 8 down; the knight on b6 comes before the
    // rook on a1 and the king on h1, whatever their kinds.
    setup_board("7k/8/1N6/8/8/8/8/R6K");
    ASSERT_EQ(index_on<Side::White>(62), 0);
    ASSERT_EQ(index_on<Side::White>(11), 1);
    const Generated g = generate<Side::White>();
    ASSERT_EQ(g.result, static_cast<int>(g.quiet.size()));
    int last = 0;
    for (auto m : g.quiet) {
        EXPECT_GE(m.first, last);
        last = m.first;
    }
    // The knight's moves start the list, in table order: b6 +21 c8, +12 d7, +19 a8,
    // (+8, -12 off the board), -21 a4, -19 c4, -8 d5.
    EXPECT_EQ(of_piece(g.quiet, 0), (Moves{{0, 83}, {0, 74}, {0, 81}, {0, 41}, {0, 43}, {0, 54}}));
    EXPECT_EQ(g.quiet.front(), (std::pair<int, int>{0, 83}));
}

TEST(Generator, CapturableKingGivesMinusOne) {
    const struct {
        const char* board;
        std::array<i8, 4> wyj;
        Side side;
    } cases[] = {
        {"4k3/8/8/8/8/8/8/4RK2", {}, Side::White},      // rook up the open file
        {"4k3/3P4/8/8/8/8/8/5K2", {}, Side::White},     // pawn
        {"4k3/8/3N4/8/8/8/8/5K2", {}, Side::White},     // knight
        {"4k3/3K4/8/8/8/8/8/8", {}, Side::White},       // king next to king
        {"4k3/8/8/1Q6/8/8/8/5K2", {}, Side::White},     // queen
        // A king capture found late still wins over everything listed before it.
        {"r6k/1P6/8/8/8/8/8/K6R", {}, Side::White},
        {"4k3/8/8/8/8/8/PPPPPPPP/RNBQKBNR", {}, Side::White},  // a normal position
        {"5k2/8/8/8/8/8/8/4K1r1", {}, Side::Black},     // black rook along rank 1
        {"5k2/8/8/8/8/8/3p4/4K3", {}, Side::Black},     // black pawn
        {"5k2/8/8/8/8/5n2/8/4K3", {}, Side::Black},     // black knight
        {"5k2/8/8/8/8/2b5/8/4K3", {}, Side::Black},     // black bishop
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.board);
        setup_board(c.board, c.wyj);
        const bool white = c.side == Side::White;
        const bool hangs = white ? odbicia<Side::White>(POS.PL, black_king_square()) : odbicia<Side::Black>(POS.PL, white_king_square());
        const Generated g = white ? generate<Side::White>() : generate<Side::Black>();
        Move ru[MAX_MOVES];
        const int n = white ? bicia<Side::White>(POS.PL, POS.BP, ru, POS.WYJ) : bicia<Side::Black>(POS.PL, POS.CP, ru, POS.WYJ);
        EXPECT_EQ(g.result == -1, hangs);
        EXPECT_EQ(n == -1, hangs);
    }
}

// Castling is generated while visiting the rook, before the rook's rays.
TEST(Generator, CastlingListedBeforeTheRookRays) {
    setup_fen("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1");
    // White's list: a1 rook 0, e1 king 1, h1 rook 2.
    const Generated w = generate<Side::White>();
    EXPECT_EQ(of_piece(w.quiet, 0),
              (Moves{{0, CASTLE_LONG}, {0, 21}, {0, 31}, {0, 41}, {0, 51}, {0, 61}, {0, 71}, {0, 12}, {0, 13}, {0, 14}}));
    EXPECT_EQ(of_piece(w.quiet, 2),
              (Moves{{2, CASTLE_SHORT}, {2, 28}, {2, 38}, {2, 48}, {2, 58}, {2, 68}, {2, 78}, {2, 17}, {2, 16}}));
    EXPECT_EQ(w.captures, (Moves{{0, 81}, {2, 88}}));
    // Black's list: h8 rook 0, e8 king 1, a8 rook 2.
    const Generated b = generate<Side::Black>();
    EXPECT_EQ(of_piece(b.quiet, 0),
              (Moves{{0, CASTLE_SHORT}, {0, 78}, {0, 68}, {0, 58}, {0, 48}, {0, 38}, {0, 28}, {0, 87}, {0, 86}}));
    EXPECT_EQ(of_piece(b.quiet, 2),
              (Moves{{2, CASTLE_LONG}, {2, 71}, {2, 61}, {2, 51}, {2, 41}, {2, 31}, {2, 21}, {2, 82}, {2, 83}, {2, 84}}));
}

// Which castling moves are listed, by the attackers and the rights.
TEST(Generator, CastlingConditions) {
    const struct {
        const char* fen;
        bool shortListed, longListed;
    } cases[] = {
        {"4k3/8/8/8/8/8/8/R3K2R w KQ - 0 1", true, true},
        {"4kr2/8/8/8/8/8/8/R3K2R w KQ - 0 1", false, true},    // f1 attacked
        {"4k1r1/8/8/8/8/8/8/R3K2R w KQ - 0 1", false, true},   // g1 attacked
        {"4k2r/8/8/8/8/8/8/R3K2R w KQ - 0 1", true, true},     // only h1 attacked
        {"3rk3/8/8/8/8/8/8/R3K2R w KQ - 0 1", true, false},    // d1 attacked
        {"2r1k3/8/8/8/8/8/8/R3K2R w KQ - 0 1", true, false},   // c1 attacked
        {"1r2k3/8/8/8/8/8/8/R3K2R w KQ - 0 1", true, true},    // only b1 attacked
        {"4r1k1/8/8/8/8/8/8/R3K2R w KQ - 0 1", false, false},  // in check
        {"4k3/8/8/8/8/8/6b1/R3K2R w KQ - 0 1", false, true},   // bishop on f1 and h1
        {"4k3/8/8/8/8/8/8/R3K2R w K - 0 1", true, false},      // rights
        {"4k3/8/8/8/8/8/8/R3K2R w Q - 0 1", false, true},
        {"4k3/8/8/8/8/8/8/R3K2R w - - 0 1", false, false},
        {"4k3/8/8/8/8/8/8/RN2K1NR w KQ - 0 1", false, false},  // b1 and g1 occupied
        {"4k3/8/8/8/8/8/8/R3KB1R w KQ - 0 1", false, true},    // f1 occupied
        {"r3k2r/8/8/8/8/8/8/4K3 b kq - 0 1", true, true},
        {"r3k2r/8/8/8/8/8/8/4KR2 b kq - 0 1", false, true},    // f8 attacked
        {"r3k2r/8/8/8/8/8/8/1R2K3 b kq - 0 1", true, true},    // only b8 attacked
        {"r3k2r/8/8/8/8/8/8/2R1K3 b kq - 0 1", true, false},   // c8 attacked
        {"r3k2r/8/8/8/8/8/8/4R1K1 b kq - 0 1", false, false},  // in check
        {"r3k2r/8/8/8/1B6/8/8/4K3 b kq - 0 1", false, true},   // bishop on f8
        {"r3k2r/8/8/8/8/8/8/4K3 b q - 0 1", false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fen);
        const Side s = setup_fen(c.fen);
        const Generated g = s == Side::White ? generate<Side::White>() : generate<Side::Black>();
        ASSERT_GE(g.result, 0);
        int shorts = 0, longs = 0;
        for (auto m : g.quiet) {
            shorts += m.second == CASTLE_SHORT;
            longs += m.second == CASTLE_LONG;
        }
        for (auto m : g.captures) EXPECT_GE(m.second, 0) << "castling among the captures";
        EXPECT_EQ(shorts, c.shortListed ? 1 : 0);
        EXPECT_EQ(longs, c.longListed ? 1 : 0);
    }
}

// The generator trusts the rights bits: a king and rook that stand on their
// squares castle whatever they did before, but a missing piece stops it.
TEST(Generator, CastlingNeedsKingAndRookOnTheirSquares) {
    // Rights given on the board, pieces elsewhere (set without the rebuild's cut).
    setup_board("4k3/8/8/8/8/8/8/R3K2R", {3, 0, 0, 0});
    EXPECT_EQ(generate<Side::White>().quiet.front(), (std::pair<int, int>{0, CASTLE_LONG}));
    setup_board("4k3/8/8/8/8/8/8/R4K1R");
    POS.WYJ[0] = 3;  // the rights survive only because the rebuild is skipped
    for (auto m : generate<Side::White>().quiet) EXPECT_GE(m.second, 0);
    setup_board("4k3/8/8/8/8/8/8/4K2R");
    POS.WYJ[0] = 3;  // no rook on a1: only the short castling
    int castles = 0;
    for (auto m : generate<Side::White>().quiet) castles += m.second < 0;
    EXPECT_EQ(castles, 1);
}

}  // namespace
}  // namespace morvelak::test
