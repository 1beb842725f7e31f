// The evaluation set-up: which phase each colour is in, which weights and
// which piece-square tables follow from it.
#include <gtest/gtest.h>

#include <string>

#include "tests/eval_m31/board.hpp"

namespace morvelak::test {
namespace {

// Both sides developed: no knight or bishop on its back rank.
const std::string DEVELOPED =
    "w..hk..w"
    "ppp..ppp"
    "..s..s.."
    "..g.pg.."
    "..G.PG.."
    "..S..S.."
    "PPP..PPP"
    "W..HK..W";

// The same with Black's queen's bishop still at home on c8.
const std::string BISHOP_C8 =
    "w.ghk..w"
    "ppp..ppp"
    "..s..s.."
    ".....g.."
    "..G.PG.."
    "..S..S.."
    "PPP..PPP"
    "W..HK..W";

TEST(Phase, PliesDevelopmentAndMaterialDecideEachColour) {
    struct Case {
        const char* what;
        std::string rows;
        int plies, stanb, stanc;
    } cases[] = {
        {"start", START, 0, 0, 0},
        {"minors at home, 18 plies", START, 18, 0, 0},
        {"more than 18 plies", START, 19, 1, 1},
        {"developed, 11 plies", DEVELOPED, 11, 0, 0},
        {"developed, 12 plies", DEVELOPED, 12, 1, 1},
        {"c8 bishop at home, 13 plies", BISHOP_C8, 13, 1, 0},
        {"c8 bishop at home, 19 plies", BISHOP_C8, 19, 1, 1},
        // Knight, knight and rook each: 2200 exactly is not yet an endgame ...
        {"2200 of pieces", "..wsk.s.pppppppp" + std::string(32, '.') + "PPPPPPPP..WSK.S.", 30, 1, 1},
        // ... one knight less on each side is, whatever the move count.
        {"1600 of pieces", "..wsk...pppppppp" + std::string(32, '.') + "PPPPPPPP..WSK...", 0, 2, 2},
        // Queen and knight against two rooks: 2200 at face value, but with
        // White 200 ahead WART shrinks White's pieces and swells Black's, and
        // the sum comes out at 2198.
        {"values scaled by the balance", "..w.k.w.pppppppp" + std::string(32, '.') + "PPPPPPPP..H.K.S.", 30, 2, 2},
    };
    for (const Case& c : cases) {
        set_up(c.rows, c.plies);
        EXPECT_EQ(EVAL.STANB, c.stanb) << c.what;
        EXPECT_EQ(EVAL.STANC, c.stanc) << c.what;
    }
}

TEST(Phase, WeightsFollowWhitesPhase) {
    // Boards where both sides keep a rook, so the conditional weights hold.
    const std::string ENDGAME = "....k..wppp....." + std::string(32, '.') + ".....PPPW...K...";
    struct Case {
        std::string rows;
        int plies, stanb;
        int expect[19];  // DUBEL .. CKWOLNALINIA in declaration order, WOLNY[2..7] apart
        int wolny[6];
    } cases[] = {
        {START, 0, 0, {15, 20, 10, 3, 0, 1, 10, 5, 3, 5, 5, 10, 5, 2, 2, 0, 3, 5, 5}, {15, 18, 22, 27, 33, 40}},
        {BISHOP_C8, 13, 1, {15, 20, 10, 3, 1, 0, 10, 8, 4, 6, 10, 10, 10, 2, 1, 0, 3, 10, 10}, {20, 23, 27, 32, 38, 45}},
        {ENDGAME, 0, 2, {15, 20, 5, 3, 2, 2, 5, 2, 8, 12, 10, 5, 15, 2, 1, 1, 4, 3, 3}, {30, 34, 39, 45, 52, 60}},
    };
    for (const Case& c : cases) {
        set_up(c.rows, c.plies);
        ASSERT_EQ(EVAL.STANB, c.stanb);
        const int got[19] = {EVAL.DUBEL, EVAL.SAMOTNY, EVAL.SLABY, EVAL.KRYCIE, EVAL.ODLKROLWOLNY, EVAL.ODLKROLPION,
                             EVAL.CHRONIKROLA1, EVAL.CHRONIKROLA2, EVAL.BLOKADASWOJEGO, EVAL.BLOKADAOBCEGO,
                             EVAL.WWOLNALINIA, EVAL.WIEZAZDWOJENIE, EVAL.PARAGONCOW, EVAL.ODLKROLSKOCZEK,
                             EVAL.ODLKROLGONIEC, EVAL.ODLKROLWIEZA, EVAL.ODLKROLHETMAN, EVAL.BKWOLNALINIA, EVAL.CKWOLNALINIA};
        for (int k = 0; k < 19; ++k) EXPECT_EQ(got[k], c.expect[k]) << "phase " << c.stanb << " weight " << k;
        EXPECT_EQ(EVAL.WOLNY[0], 0);
        EXPECT_EQ(EVAL.WOLNY[1], 0);
        for (int r = 2; r < 8; ++r) EXPECT_EQ(EVAL.WOLNY[r], c.wolny[r - 2]) << "phase " << c.stanb;
    }
}

TEST(Phase, RookOrQueenDecidesOpenFileAndWeakPawnWeights) {
    const std::string pawns = "pppppppp" + std::string(32, '.') + "PPPPPPPP";
    struct Case {
        const char* what;
        std::string rows;
        int plies, stanb, slaby, bk, ck;
    } cases[] = {
        // Middle game: White's heavy piece keeps SLABY and threatens Black's king.
        {"middle, only White heavy", "ss..k.gg" + pawns + "...HW.K.", 19, 1, 10, 0, 10},
        {"middle, only Black heavy", "...hw.k." + pawns + "SS..K.GG", 19, 1, 0, 10, 0},
        {"endgame, White queen", "....k..." + pawns + "...HK...", 0, 2, 5, 0, 3},
        {"endgame, Black rook", "....k..w" + pawns + "....K...", 0, 2, 0, 3, 0},
        {"endgame, neither", "....k..." + pawns + "....K...", 0, 2, 0, 0, 0},
        // The opening keeps SLABY whoever has the heavy pieces.
        {"opening, only Black heavy", "...hw.k." + pawns + "SS..K.GG", 0, 0, 10, 5, 0},
    };
    for (const Case& c : cases) {
        set_up(c.rows, c.plies);
        ASSERT_EQ(EVAL.STANB, c.stanb) << c.what;
        EXPECT_EQ(EVAL.SLABY, c.slaby) << c.what;
        EXPECT_EQ(EVAL.BKWOLNALINIA, c.bk) << c.what;
        EXPECT_EQ(EVAL.CKWOLNALINIA, c.ck) << c.what;
    }
}

TEST(Phase, EachColourGetsTheTablesOfItsOwnPhase) {
    using T = const PieceSquare*;
    struct Case {
        std::string rows;
        int plies;
        T white[6], black[6];  // pawn, knight, bishop, rook, queen, king
    } cases[] = {
        {START, 0, {&BPDEB, &SDEB, &GBDEB, &WBDEB, &HBDEB, &KBDEB}, {&CPDEB, &SDEB, &GCDEB, &WCDEB, &HCDEB, &KCDEB}},
        {BISHOP_C8, 13, {&PBSROD, &SSRODB, &GSROD, &WBSROD, &HBSROD, &KBSROD},
         {&CPDEB, &SDEB, &GCDEB, &WCDEB, &HCDEB, &KCDEB}},
        {DEVELOPED, 19, {&PBSROD, &SSRODB, &GSROD, &WBSROD, &HBSROD, &KBSROD},
         {&PCSROD, &SSRODC, &GSROD, &WCSROD, &HCSROD, &KCSROD}},
        {"....k..wppp....." + std::string(32, '.') + ".....PPPW...K...", 0,
         {&PBKONC, &SKONC, &GSROD, &WKONC, &HKONC, &KKONC}, {&PCKONC, &SKONC, &GSROD, &WKONC, &HKONC, &KKONC}},
    };
    for (const Case& c : cases) {
        set_up(c.rows, c.plies);
        const i8* white[6] = {EVAL.OCPIONB, EVAL.OCSKOCB, EVAL.OCGONCB, EVAL.OCWIEZB, EVAL.OCHETMB, EVAL.OCKROLB};
        const i8* black[6] = {EVAL.OCPIONC, EVAL.OCSKOCC, EVAL.OCGONCC, EVAL.OCWIEZC, EVAL.OCHETMC, EVAL.OCKROLC};
        for (int k = 0; k < 6; ++k) {
            EXPECT_EQ(white[k], c.white[k]->data()) << "phase " << int(EVAL.STANB) << " white piece " << k;
            EXPECT_EQ(black[k], c.black[k]->data()) << "phase " << int(EVAL.STANC) << " black piece " << k;
        }
    }
}

}  // namespace
}  // namespace morvelak::test
