// The position rebuild (lists, king indices, capture values, border and
// castling rights from the board alone), the game history and the keys.
#include <gtest/gtest.h>

#include "driver/history.hpp"
#include "engine/eval/older/eval.hpp"
#include "engine/position/keys.hpp"
#include "engine/position/makemove.hpp"
#include "support.hpp"
#include "util/random.hpp"

namespace morvelak::test {
namespace {

constexpr const char* START = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

std::vector<int> list_bytes(const i8* list) { return std::vector<int>(list, list + 32); }

TEST(Rebuild, StartPositionListsAndKings) {
    setup_fen(START);
    const std::vector<int> bp = {9, 21, 9, 22, 9, 23, 9, 24, 9, 25, 9, 26, 9, 27, 9, 28,
                                 12, 11, 10, 12, 11, 13, 13, 14, 8, 15, 11, 16, 10, 17, 12, 18};
    const std::vector<int> cp = {17, 78, 17, 77, 17, 76, 17, 75, 17, 74, 17, 73, 17, 72, 17, 71,
                                 20, 88, 18, 87, 19, 86, 16, 85, 21, 84, 19, 83, 18, 82, 20, 81};
    EXPECT_EQ(list_bytes(POS.BP), bp);
    EXPECT_EQ(list_bytes(POS.CP), cp);
    EXPECT_EQ(POS.ILB, 16);
    EXPECT_EQ(POS.ILC, 16);
    EXPECT_EQ(POS.KROLB, 12);
    EXPECT_EQ(POS.KROLC, 11);
    EXPECT_EQ(white_king_square(), 15);
    EXPECT_EQ(black_king_square(), 85);
}

TEST(Rebuild, OrderFillersAndKingIndex) {
    // White reads a8..h1, Black h1..a8; unused entries hold 253.
    setup_board("1k6/8/8/3Q4/8/8/5p2/R3K3");
    EXPECT_EQ(list_bytes(POS.BP).size(), 32u);
    EXPECT_EQ(std::vector<int>(POS.BP, POS.BP + 6), (std::vector<int>{13, 54, 12, 11, 8, 15}));
    EXPECT_EQ(std::vector<int>(POS.CP, POS.CP + 4), (std::vector<int>{17, 26, 16, 82}));
    for (int k = 6; k < 32; ++k) EXPECT_EQ(POS.BP[k], LIST_FILL) << k;
    for (int k = 4; k < 32; ++k) EXPECT_EQ(POS.CP[k], LIST_FILL) << k;
    EXPECT_EQ(POS.ILB, 3);
    EXPECT_EQ(POS.ILC, 2);
    EXPECT_EQ(POS.KROLB, 2);
    EXPECT_EQ(POS.KROLC, 1);
    EXPECT_EQ(position_fault(), "");
}

TEST(Rebuild, CompactsTheHolesOfCaptures) {
    setup_fen("4k3/8/8/3q4/4P3/8/8/4K3 w - - 0 1");
    i8 zap[8];
    zrobruch<Side::White>(zap, index_on<Side::White>(45), 54);
    EXPECT_EQ(POS.CP[0], 0);  // the queen's hole
    EXPECT_EQ(POS.KROLC, 1);
    skroctablice(m31::SCALE);
    EXPECT_EQ(POS.ILC, 1);
    EXPECT_EQ(POS.KROLC, 0);
    EXPECT_EQ(POS.CP[0], B_KING);
    EXPECT_EQ(position_fault(), "");
}

TEST(Rebuild, CaptureValuesScaleWithMaterial) {
    const struct {
        const char* board;
        Scale scale;
        int m;
    } cases[] = {
        {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR", m31::SCALE, 0},
        {"1nbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR", m31::SCALE, 5},     // +500
        {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKB1R", m31::SCALE, -3},    // -300
        {"4k3/8/8/8/8/8/8/3BK3", m31::SCALE, 3},                          // +310
        {"3rk3/8/8/8/8/8/8/3NK3", m31::SCALE, -2},                        // -200 truncates to -2
        {"3bk3/8/8/8/8/8/8/3NK3", m31::SCALE, 0},                         // -10 truncates to 0
        {"4k3/8/8/8/8/8/8/3QK3", m31::SCALE, 10},                         // +900
        {"4k3/8/8/8/8/8/8/3QK3", m28::SCALE, 9},                      // +900 at 100 a pawn
        {"4k3/pppp4/8/8/8/8/8/4K3", m31::SCALE, -4},                      // -360
        {"4k3/pppp4/8/8/8/8/8/4K3", m28::SCALE, -4},                  // -400
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.board);
        setup_board(c.board, {}, c.scale);
        const int p = c.scale.pawn, m = c.m;
        EXPECT_EQ(POS.WART[0], 0);
        EXPECT_EQ(POS.WART[W_KING], 10000);
        EXPECT_EQ(POS.WART[B_KING], -10000);
        EXPECT_EQ(POS.WART[W_PAWN], p - m);
        EXPECT_EQ(POS.WART[W_KNIGHT], 300 - 2 * m);
        EXPECT_EQ(POS.WART[W_BISHOP], 310 - 2 * m);
        EXPECT_EQ(POS.WART[W_ROOK], 500 - 3 * m);
        EXPECT_EQ(POS.WART[W_QUEEN], 900 - 5 * m);
        EXPECT_EQ(POS.WART[B_PAWN], -p - m);
        EXPECT_EQ(POS.WART[B_KNIGHT], -300 - 2 * m);
        EXPECT_EQ(POS.WART[B_BISHOP], -310 - 2 * m);
        EXPECT_EQ(POS.WART[B_ROOK], -500 - 3 * m);
        EXPECT_EQ(POS.WART[B_QUEEN], -900 - 5 * m);
    }
    // The named example: White a rook up.
    setup_board("1nbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR");
    EXPECT_EQ((std::vector<int>{POS.WART[9], POS.WART[10], POS.WART[11], POS.WART[12], POS.WART[13]}),
              (std::vector<int>{85, 290, 300, 485, 875}));
    EXPECT_EQ((std::vector<int>{POS.WART[17], POS.WART[18], POS.WART[19], POS.WART[20], POS.WART[21]}),
              (std::vector<int>{-95, -310, -320, -515, -925}));
    // m26's queen is worth 800.
    setup_board("4k3/8/8/8/8/8/8/4K3", {}, m26::SCALE);
    EXPECT_EQ(POS.WART[W_QUEEN], 800);
    EXPECT_EQ(POS.WART[B_QUEEN], -800);
}

TEST(Rebuild, CastlingRightsCutByTheBoard) {
    const struct {
        const char* board;
        std::array<i8, 4> in;
        i8 white, black;
    } cases[] = {
        {"r3k2r/8/8/8/8/8/8/R3K2R", {3, 3, 0, 0}, 3, 3},
        {"r3k2r/8/8/8/8/8/8/R4K1R", {3, 3, 0, 0}, 0, 3},   // white king off e1
        {"r3k2r/8/8/8/8/8/8/1R2K2R", {3, 3, 0, 0}, 1, 3},  // no rook on a1
        {"r3k2r/8/8/8/8/8/8/R3K1R1", {3, 3, 0, 0}, 2, 3},  // no rook on h1
        {"r3k2r/8/8/8/8/8/8/4K3", {3, 3, 0, 0}, 0, 3},     // no rook at all
        {"r3k2r/8/8/8/8/8/8/r3K2R", {3, 3, 0, 0}, 1, 3},   // a black rook on a1
        {"r2k3r/8/8/8/8/8/8/R3K2R", {3, 3, 0, 0}, 3, 0},   // black king off e8
        {"4k2r/8/8/8/8/8/8/R3K2R", {3, 3, 0, 0}, 3, 1},
        {"r3k3/8/8/8/8/8/8/R3K2R", {3, 3, 0, 0}, 3, 2},
        {"R3k2r/8/8/8/8/8/8/4K2R", {3, 3, 0, 0}, 1, 1},    // a white rook on a8
        {"r3k2r/8/8/8/8/8/8/R3K2R", {1, 2, 0, 0}, 1, 2},   // rights are never granted
        {"r3k2r/8/8/8/8/8/8/R3K2R", {0, 0, 0, 0}, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.board);
        setup_board(c.board, c.in);
        EXPECT_EQ(POS.WYJ[0], c.white);
        EXPECT_EQ(POS.WYJ[1], c.black);
    }
    // An en-passant square stands only when it is empty and just behind an
    // enemy pawn that has made its double step.
    struct Ep {
        const char* board;
        i8 in2, in3, out2, out3;
    } eps[] = {
        {"4k3/8/8/3pP3/4P3/8/8/4K3", 35, 64, 35, 64},  // both consistent
        {"4k3/8/8/8/8/8/8/4K3", 35, 66, 0, 0},         // no pawn in front
        {"4k3/8/8/3p4/4P3/4P3/8/4K3", 35, 64, 0, 64},  // e3 occupied
        {"4k3/8/8/3p4/8/8/8/4K3", 44, 44, 0, 0},       // wrong ranks
        {"4k3/8/3P4/3p4/8/8/8/4K3", 0, 64, 0, 0},      // d6 occupied
    };
    for (const auto& c : eps) {
        SCOPED_TRACE(c.board);
        setup_board(c.board, {0, 0, c.in2, c.in3});
        EXPECT_EQ(POS.WYJ[2], c.out2);
        EXPECT_EQ(POS.WYJ[3], c.out3);
    }
}

TEST(Rebuild, RewritesTheBorder) {
    setup_fen(START);
    for (int s : {0, 5, 9, 10, 19, 20, 50, 59, 89, 90, 95, 99}) POS.PL[s] = 0;
    skroctablice(m31::SCALE);
    int border = 0;
    for (int s = 0; s < 100; ++s) {
        if (on_board(s)) continue;
        EXPECT_EQ(POS.PL[s], BORDER) << s;
        ++border;
    }
    EXPECT_EQ(border, 36);
}

// More than 16 pieces of a side (only a board file can say so): the lists
// stop at 16 entries and nothing is written past them.
TEST(Rebuild, ListsStopAtSixteenEntries) {
    setup_board("NNNNNNNN/NNNNNNNN/NNNNNNNN/8/8/nnnnnnnn/nnnnnnnn/nnnnnnnk");
    EXPECT_EQ(POS.ILB, 16);
    EXPECT_EQ(POS.ILC, 16);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(POS.BP[2 * i], W_KNIGHT);
        EXPECT_EQ(POS.BP[2 * i + 1], TAB[i]);
    }
    // The kings are kept even when they come late in the scan.
    setup_board("QQQQQQQQ/QQQQQQQQ/QQQQQQQQ/8/8/8/8/K6k");
    EXPECT_EQ(POS.ILB, 16);
    EXPECT_EQ(POS.BP[2 * POS.KROLB], W_KING);
    EXPECT_EQ(POS.BP[2 * POS.KROLB + 1], 11);
    setup_board("K6k/8/8/8/8/qqqqqqqq/qqqqqqqq/qqqqqqqq");
    EXPECT_EQ(POS.ILC, 16);
    EXPECT_EQ(POS.CP[2 * POS.KROLC], B_KING);
    EXPECT_EQ(POS.CP[2 * POS.KROLC + 1], 88);
}

TEST(History, StoresAndTakesBack) {
    setup_fen(START);
    history_start();
    EXPECT_EQ(GAME.R, 0);
    const Position start = POS;
    i8 zap[8];
    // e2-e4, e7-e5, g1-f3: each ply stored with its WYJ.
    zrobruch<Side::White>(zap, index_on<Side::White>(25), 45);
    EXPECT_TRUE(history_advance());
    zrobruch<Side::Black>(zap, index_on<Side::Black>(75), 55);
    EXPECT_TRUE(history_advance());
    zrobruch<Side::White>(zap, index_on<Side::White>(17), 36);
    EXPECT_TRUE(history_advance());
    EXPECT_EQ(GAME.R, 3);
    EXPECT_EQ(GAME.perPly.WYJZAP[1][2], 35);  // after e2-e4
    EXPECT_EQ(GAME.perPly.WYJZAP[2][3], 65);  // after e7-e5
    EXPECT_EQ(GAME.perPly.PLZAP[3][36], W_KNIGHT);

    history_remove_two();
    EXPECT_EQ(GAME.R, 1);
    EXPECT_EQ(POS.PL[45], W_PAWN);
    EXPECT_EQ(POS.PL[75], B_PAWN);
    EXPECT_EQ(POS.WYJ[2], 35);
    history_remove_one();
    EXPECT_EQ(GAME.R, 0);
    skroctablice(m31::SCALE);
    EXPECT_TRUE(POS == start);
    // At the start nothing more is taken back.
    history_remove_two();
    EXPECT_EQ(GAME.R, 0);
    history_remove_one();
    EXPECT_EQ(GAME.R, 0);
    skroctablice(m31::SCALE);
    EXPECT_TRUE(POS == start);
    // With one ply played, "take back two" restores entry 1 without moving.
    zrobruch<Side::White>(zap, index_on<Side::White>(24), 44);
    history_advance();
    POS.PL[44] = 0;  // disturb the board: entry 1 must come back
    history_remove_two();
    EXPECT_EQ(GAME.R, 1);
    EXPECT_EQ(POS.PL[44], W_PAWN);
}

TEST(History, AGameLongerThanTheHistoryWritesNothingPastIt) {
    setup_fen(START);
    history_start();
    for (int k = 1; k < HISTORY_PLIES; ++k) ASSERT_TRUE(history_advance());
    EXPECT_FALSE(history_advance());
    EXPECT_FALSE(history_advance());
    EXPECT_EQ(GAME.R, HISTORY_PLIES + 1);
    POS.PL[45] = W_QUEEN;  // a board never stored
    history_remove_two();  // entry 511 was stored and comes back
    EXPECT_EQ(GAME.R, HISTORY_PLIES - 1);
    EXPECT_EQ(POS.PL[45], 0);
}

TEST(Keys, TableRowsAndRepeatability) {
    KeyTable KEY;
    Random random;
    random.seed(77);
    fill_keys(KEY, random);
    u32 copy[KEY_ROWS][100];
    std::memcpy(copy, KEY, sizeof copy);
    for (int row = 0; row < KEY_ROWS; ++row) {
        const bool piece = (row >= 8 && row <= 13) || (row >= 16 && row <= 21);
        for (int s = 0; s < 100; ++s) {
            if (!piece) {
                EXPECT_EQ(KEY[row][s], 0u) << row << " " << s;
            } else {
                EXPECT_LT(KEY[row][s], 0x7FFFFFFFu);
            }
        }
    }
    random.seed(77);
    fill_keys(KEY, random);
    EXPECT_EQ(std::memcmp(copy, KEY, sizeof copy), 0);
    random.seed(78);
    fill_keys(KEY, random);
    EXPECT_NE(std::memcmp(copy, KEY, sizeof copy), 0);
}

TEST(Keys, KeyCoversPlacementOnly) {
    KeyTable KEY;
    Random random;
    random.seed(5);
    fill_keys(KEY, random);
    const auto KLUCZ = [&] { return klucz(KEY); };
    const auto key_of = [&](const char* fen) {
        setup_fen(fen);
        return KLUCZ();
    };
    const u32 a = key_of("r3k2r/8/8/8/3pP3/8/8/R3K2R w KQkq - 0 1");
    EXPECT_EQ(key_of("r3k2r/8/8/8/3pP3/8/8/R3K2R b KQkq e3 0 1"), a);
    EXPECT_EQ(key_of("r3k2r/8/8/8/3pP3/8/8/R3K2R w - - 0 1"), a);
    EXPECT_EQ(key_of("r3k2r/8/8/8/3pP3/8/8/R3K2R b Kq - 5 40"), a);
    EXPECT_NE(key_of("r3k2r/8/8/8/3p1P2/8/8/R3K2R w KQkq - 0 1"), a);
    EXPECT_NE(key_of("r3k2r/8/8/8/3pN3/8/8/R3K2R w KQkq - 0 1"), a);

    // The key is the sum over the entries in use; holes add nothing.
    setup_fen("4k3/8/8/3q4/4P3/8/8/4K3 w - - 0 1");
    u32 sum = 0;
    for (int i = 0; i < POS.ILB; ++i) sum += KEY[POS.BP[2 * i]][POS.BP[2 * i + 1]];
    for (int i = 0; i < POS.ILC; ++i) sum += KEY[POS.CP[2 * i]][POS.CP[2 * i + 1]];
    EXPECT_EQ(KLUCZ(), sum);
    i8 zap[8];
    const int nr = index_on<Side::White>(45);
    zrobruch<Side::White>(zap, nr, 54);
    EXPECT_EQ(KLUCZ(), sum - KEY[W_PAWN][45] + KEY[W_PAWN][54] - KEY[B_QUEEN][54]);
    skasujruch<Side::White>(zap, nr, 54);
    EXPECT_EQ(KLUCZ(), sum);
}

TEST(Keys, RepetitionCount) {
    const u32 A = 11, B = 22, C = 33;
    const struct {
        std::vector<u32> path;  // path.back() is the position tested
        int c;
        int expected;
    } cases[] = {
        {{0, A}, 0, 0},                 // nothing before it
        {{0, A, B, A}, 0, 1},           // once before: a repetition deeper in the tree
        {{0, A, B, A}, 1, 0},           // but not near the root
        {{0, A, B, A, C, A}, 1, 1},     // twice before: the third occurrence
        {{0, A, B, A, C, A}, 2, 0},
        {{A, 0, B, C, A}, 0, 0},        // the scan stops at the zero slot
        {{0, A, A, 0, B, A}, 0, 0},
        {{0, A, A, 0, A, A}, 0, 1},
        {{0, A, A, 0, A, A}, 1, 0},
        {{0, B, C, B, C, A}, 0, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(czypotrojne(&c.path.back(), c.c), c.expected) << "case with c = " << c.c << ", size " << c.path.size();
    }
}

TEST(Keys, PushShiftsTheGameWindow) {
    KeyTable KEY;
    u32 TRASA[TRASA_SIZE] = {};
    Random random;
    random.seed(9);
    fill_keys(KEY, random);
    setup_fen(START);
    for (int k = 1; k <= 12; ++k) {
        TRASA[11] = 0xDEAD;  // a search slot: not part of the shift
        push_game_key(TRASA, klucz(KEY));
        EXPECT_EQ(TRASA[0], 0u);
        EXPECT_EQ(TRASA[10], klucz(KEY));
        EXPECT_EQ(TRASA[11], 0xDEADu);
        // Play a knight out and back so that the keys differ.
        i8 zap[8];
        zrobruch<Side::White>(zap, index_on<Side::White>(k % 2 ? 17 : 36), k % 2 ? 36 : 17);
        skroctablice(m31::SCALE);
    }
    // The last ten positions, oldest first, alternate between the two keys.
    for (int i = 1; i <= 8; ++i) EXPECT_EQ(TRASA[i], TRASA[i + 2]);
    EXPECT_NE(TRASA[9], TRASA[10]);
}

}  // namespace
}  // namespace morvelak::test
