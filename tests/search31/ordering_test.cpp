// Killer store, its ageing between iterations, the static capture sort and
// the sort by shallow search.
#include <gtest/gtest.h>

#include <vector>

#include "engine/position/movegen.hpp"
#include "engine/search/m31/ordering.hpp"
#include "engine/search/m31/search.hpp"
#include "tests/search31/support.hpp"

namespace morvelak::searchtest {
namespace {

std::vector<Move> row(const Move* store, int ply, int n) {
    return {store + KILLER_ROW * ply, store + KILLER_ROW * ply + n};
}

TEST(Killers, NewestFirstKnownToFrontOldestOut) {
    reset_search_state();
    struct Step {
        int nr, x2;
        std::vector<Move> after;
    } steps[] = {
        {1, 31, {{1, 31}, {0, 0}, {0, 0}}},
        {2, 32, {{2, 32}, {1, 31}, {0, 0}}},
        {3, 33, {{3, 33}, {2, 32}, {1, 31}}},
        {4, 34, {{4, 34}, {3, 33}, {2, 32}}},  // the oldest falls out
        {3, 33, {{3, 33}, {4, 34}, {2, 32}}},  // a known killer moves to the front
        {3, 33, {{3, 33}, {4, 34}, {2, 32}}},  // already in front
        {2, 32, {{2, 32}, {3, 33}, {4, 34}}},  // found in the last place
    };
    for (const Step& s : steps) {
        WSTAWKILLERSB(s.nr, s.x2, 3, 2);
        EXPECT_EQ(row(KILB, 2, 3), s.after);
    }
    // Only the three entries of row 2 of White's store moved.
    EXPECT_EQ(KILB[KILLER_ROW * 2 + 3], (Move{0, 0}));
    EXPECT_EQ(row(KILB, 3, 3), (std::vector<Move>{{0, 0}, {0, 0}, {0, 0}}));
    EXPECT_EQ(row(KILC, 2, 3), (std::vector<Move>{{0, 0}, {0, 0}, {0, 0}}));
    WSTAWKILLERSC(5, 35, 3, 2);
    EXPECT_EQ(row(KILC, 2, 1), (std::vector<Move>{{5, 35}}));
}

TEST(Killers, CountPerDepth) {
    const int expected[KILLER_ROWS] = {2, 5, 8, 11, 14, 17, 20, 20, 10, 10,
                                       10, 10, 10, 10, 10, 10, 10, 10, 10, 10};
    for (int ply = 0; ply < KILLER_ROWS; ++ply) {
        EXPECT_EQ(ilk_of(ply), expected[ply]) << ply;
        EXPECT_LE(ilk_of(ply), KILLER_ROW);
    }
}

TEST(Killers, AgeingBetweenIterations) {
    reset_search_state();
    for (int g = 0; g < KILLER_ROWS; ++g)
        for (int k = 0; k < KILLER_ROW; ++k) {
            KILB[KILLER_ROW * g + k] = Move{static_cast<i8>(g), static_cast<i8>(k)};
            KILC[KILLER_ROW * g + k] = Move{static_cast<i8>(g + 50), static_cast<i8>(k)};
        }
    // One ply deeper: rows 3 and 4 take the first 19 killers of the row below.
    age_killers(4, 7);
    for (Move* store : {KILB, KILC}) {
        const int base = store == KILB ? 0 : 50;
        for (int g = 0; g < KILLER_ROWS; ++g)
            for (int k = 0; k < KILLER_ROW; ++k) {
                const int from = (g == 3 || g == 4) && k < 19 ? g - 1 : g;
                EXPECT_EQ(store[KILLER_ROW * g + k], (Move{static_cast<i8>(from + base), static_cast<i8>(k)}))
                    << g << " " << k;
            }
    }
    // The jump to the target depth moves whole rows two up, from the top.
    reset_search_state();
    for (int g = 0; g < KILLER_ROWS; ++g)
        for (int k = 0; k < KILLER_ROW; ++k) KILB[KILLER_ROW * g + k] = Move{static_cast<i8>(g), static_cast<i8>(k)};
    age_killers(7, 7);
    for (int g = 0; g < KILLER_ROWS; ++g) {
        const int from = g >= 4 && g <= 7 ? g - 2 : g;
        EXPECT_EQ(KILB[KILLER_ROW * g + 19], (Move{static_cast<i8>(from), 19})) << g;
        EXPECT_EQ(KILB[KILLER_ROW * g], (Move{static_cast<i8>(from), 0})) << g;
    }
}

// White to move with four captures: Ne5xf7 and Rh1xh7 take undefended pawns
// (equal values, generated in that order), b4xa5 an undefended knight,
// Qd1xd5 a pawn that e6 defends.
const char* CAPTURES =
    "k......."
    ".p...p.p"
    "....p..."
    "s..pS..."
    ".P......"
    "........"
    "........"
    "...H..KW";

std::vector<Move> captures_of(bool white) {
    Move quiet[MAX_MOVES], caps[MAX_MOVES];
    int aa = 0;
    if (white) superruchy<Side::White>(PL, BP, quiet, caps, WYJ, &aa);
    else superruchy<Side::Black>(PL, CP, quiet, caps, WYJ, &aa);
    return {caps, caps + aa};
}

TEST(CaptureSort, ValueOrderStabilityAndGoodCount) {
    for (bool white : {true, false}) {
        SCOPED_TRACE(white ? "White" : "Black twin");
        set_up(white ? CAPTURES : rotated(CAPTURES));
        std::vector<Move> caps = captures_of(white);
        ASSERT_EQ(caps.size(), 4u);
        auto sq = [&](int s) { return white ? s : twin_square(s); };
        const int generated[4] = {sq(76), sq(51), sq(54), sq(78)};
        for (int i = 0; i < 4; ++i) EXPECT_EQ(caps[i].x2, generated[i]);

        const int good = white ? SORTBICB(caps.data(), 4) : SORTBICC(caps.data(), 4);
        // a5 (knight), then the two pawns in generation order, then the
        // queen's capture of a defended pawn, which is bad.
        const int sorted[4] = {sq(51), sq(76), sq(78), sq(54)};
        for (int i = 0; i < 4; ++i) EXPECT_EQ(caps[i].x2, sorted[i]) << i;
        EXPECT_EQ(good, 3);
    }
}

TEST(CaptureSort, ExpectedReplyAtTheFrontMayBeCastling) {
    // One level below the root the expected reply is swapped to the front
    // even when it is quiet; castling then stands among the captures.
    set_up("....k..."
           "........"
           "........"
           "........"
           "........"
           "........"
           "p......."
           "....K..W",
           "1 0 0 0");
    // White's list: the king on e1 is entry 0, the rook on h1 entry 1.
    Move list[1] = {Move{1, CASTLE_SHORT}};
    EXPECT_EQ(SORTBICB(list, 1), 1);  // castling is worth 0: good
    EXPECT_EQ(list[0], (Move{1, CASTLE_SHORT}));
}

TEST(IterationSort, WinningCaptureFirstAndFlagCleared) {
    // White can take a hanging queen with the pawn or move elsewhere.
    const char* rows =
        "......k."
        "p......."
        "........"
        "...h...."
        "....P..."
        "........"
        "P......."
        "......K.";
    for (bool white : {true, false}) {
        SCOPED_TRACE(white ? "White" : "Black twin");
        set_up(white ? rows : rotated(rows));
        Move quiet[MAX_MOVES], list[MAX_MOVES];
        int aa = 0;
        const int nq = white ? superruchy<Side::White>(PL, BP, quiet, list, WYJ, &aa)
                             : superruchy<Side::Black>(PL, CP, quiet, list, WYJ, &aa);
        for (int k = 0; k < nq; ++k) list[aa + k] = quiet[k];
        const int a = aa + nq;
        const std::vector<i8> before(PL, PL + 100);
        const int best = white ? ITERACJASORTB(2, list, a, 0) : ITERACJASORTC(2, list, a, 0);
        EXPECT_EQ(list[0].x2, white ? 54 : twin_square(54));
        EXPECT_EQ(I, 0);
        EXPECT_EQ(std::vector<i8>(PL, PL + 100), before);
        // The queen (worth 900 less five material steps) is won for nothing.
        EXPECT_GT(white ? best : -best, 700);
    }
}

}  // namespace
}  // namespace morvelak::searchtest
