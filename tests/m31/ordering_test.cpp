// Killer store and its ageing between iterations, and the static capture
// sort.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <random>
#include <vector>

#include "engine/position/movegen.hpp"
#include "engine/search/m31/ordering.hpp"
#include "engine/search/m31/search.hpp"
#include "tests/m31/support.hpp"

namespace morvelak::test {
namespace {

std::vector<Move> row(const Move* store, int ply, int n) {
    return {store + KILLER_ROW * ply, store + KILLER_ROW * ply + n};
}

TEST(Killers, NewestFirstKnownToFrontOldestOut) {
    SEARCH = SearchState{};
    const struct {
        int nr, x2;
        std::vector<Move> after;
    } steps[] = {
        {1, 31, {{1, 31}, {0, 0}, {0, 0}}},
        {2, 32, {{2, 32}, {1, 31}, {0, 0}}},
        {3, 33, {{3, 33}, {2, 32}, {1, 31}}},
        {4, 34, {{4, 34}, {3, 33}, {2, 32}}},  // the oldest falls out
        {3, 33, {{3, 33}, {4, 34}, {2, 32}}},  // a known killer moves to the front
        {2, 32, {{2, 32}, {3, 33}, {4, 34}}},  // also from the last place
    };
    for (const auto& s : steps) {
        wstawkillers<Side::White>(SEARCH, s.nr, s.x2, 3, 2);
        EXPECT_EQ(row(SEARCH.KILB, 2, 4), (std::vector<Move>{s.after[0], s.after[1], s.after[2], {0, 0}}));
    }
    EXPECT_EQ(row(SEARCH.KILC, 2, 1), (std::vector<Move>{{0, 0}}));
    wstawkillers<Side::Black>(SEARCH, 5, 35, 3, 2);
    EXPECT_EQ(row(SEARCH.KILC, 2, 1), (std::vector<Move>{{5, 35}}));
    EXPECT_EQ(ilk_of(7), KILLER_ROW);
}

// The killer is looked for among the moves from b on, eight at a time, the
// last eight of a longer list ending at its end: found at every place of
// short and long lists (both sides of every block of eight, and inside the
// last eight where they overlap the block before), the first of two copies,
// never before b, and never at or past the end of the list even where the
// array goes on.
TEST(Killers, FoundAtEveryPlaceOnlyInsideTheList) {
    Move ru[MAX_MOVES];
    for (int i = 0; i < MAX_MOVES; ++i) ru[i] = Move{static_cast<i8>(i % 16), static_cast<i8>(21 + i % 78)};
    const Move killer{15, 98};  // not among the moves above
    for (int a : {1, 7, 8, 9, 15, 16, 17, 24, 25, 31, MAX_MOVES}) {
        for (int b : {0, 1, 8, a / 2, a - 1}) {
            if (b >= a) continue;
            for (int at = 0; at < a; ++at) {
                Move list[MAX_MOVES];
                std::copy(ru, ru + MAX_MOVES, list);
                list[at] = killer;
                if (a < MAX_MOVES) list[a] = killer;  // past the end: never found
                const auto km = std::bit_cast<std::uint16_t>(killer);
                EXPECT_EQ(find_move(list, b, a, km), at >= b ? at : a) << "a " << a << " b " << b << " at " << at;
                if (at + 3 < a) {
                    list[at + 3] = killer;
                    EXPECT_EQ(find_move(list, b, a, km), at >= b ? at : at + 3 >= b ? at + 3 : a);
                }
            }
        }
    }
}

// The sort puts the best value first and keeps equal values in their order,
// moves and values together, for both colours' sense of "best": checked
// against a stable sort on lists full of ties, already sorted, reversed.
TEST(SortBestFirst, StableBestFirstForBothColours) {
    std::mt19937 rng(7);
    for (int round = 0; round < 400; ++round) {
        const int a = round % 41;
        const int spread = round % 3 == 0 ? 3 : 200;  // few distinct values: many ties
        std::vector<int> val(a);
        for (int& v : val) v = std::uniform_int_distribution<int>(-spread, spread)(rng);
        if (round % 7 == 1) std::sort(val.begin(), val.end());
        if (round % 7 == 2) std::sort(val.rbegin(), val.rend());
        for (const bool white : {true, false}) {
            std::vector<Move> ru(a);
            for (int i = 0; i < a; ++i) ru[i] = Move{static_cast<i8>(i), static_cast<i8>(21 + i)};
            std::vector<int> order(a);
            for (int i = 0; i < a; ++i) order[i] = i;
            std::stable_sort(order.begin(), order.end(),
                             [&](int x, int y) { return white ? val[x] > val[y] : val[x] < val[y]; });
            std::vector<int> got = val;
            if (white) sort_best_first<Side::White>(ru.data(), got.data(), a);
            else sort_best_first<Side::Black>(ru.data(), got.data(), a);
            for (int i = 0; i < a; ++i) {
                ASSERT_EQ(ru[i].nr, order[i]) << "round " << round << " white " << white << " at " << i;
                ASSERT_EQ(got[i], val[order[i]]);
            }
        }
    }
}

TEST(Killers, AgeingBetweenIterations) {
    auto fill = [] {
        for (int i = 0; i < KILLER_ROWS * KILLER_ROW; ++i) {
            SEARCH.KILB[i] = Move{static_cast<i8>(i / KILLER_ROW), static_cast<i8>(i % KILLER_ROW)};
            SEARCH.KILC[i] = SEARCH.KILB[i];
        }
    };
    // One ply deeper (iteration 4 of 7): rows 4 and 3 take the first 19
    // killers of the row below them; the last entry stays.
    fill();
    age_killers(4, 7);
    for (const Move* store : {SEARCH.KILB, SEARCH.KILC})
        for (int g = 0; g < KILLER_ROWS; ++g) {
            const int moved = g == 3 || g == 4 ? g - 1 : g;
            EXPECT_EQ(store[KILLER_ROW * g + 18].nr, moved) << g;
            EXPECT_EQ(store[KILLER_ROW * g + 19].nr, g) << g;
        }
    // The jump to the target depth moves whole rows two up.
    fill();
    age_killers(7, 7);
    for (int g = 0; g < KILLER_ROWS; ++g) {
        const int moved = g >= 4 && g <= 7 ? g - 2 : g;
        EXPECT_EQ(SEARCH.KILB[KILLER_ROW * g].nr, moved) << g;
        EXPECT_EQ(SEARCH.KILB[KILLER_ROW * g + 19].nr, moved) << g;
    }
}

TEST(CaptureSort, ValueOrderStabilityAndGoodCount) {
    // Captures in generation order: Ne5xf7 (an undefended pawn), b4xa5 (an
    // undefended knight), Qd1xd5 (a pawn that e6 defends), Rh1xh7 (an
    // undefended pawn, worth as much as f7).
    const char* fen = "k7/1p3p1p/4p3/n2pN3/1P6/8/8/3Q2KR w - - 0 1";
    for (bool white : {true, false}) {
        SCOPED_TRACE(white ? "White" : "Black twin");
        set_up(fen, 0, !white);
        Move quiet[MAX_MOVES], caps[MAX_MOVES];
        int aa = 0;
        if (white) superruchy<Side::White>(POS.PL, POS.BP, quiet, caps, POS.WYJ, &aa);
        else superruchy<Side::Black>(POS.PL, POS.CP, quiet, caps, POS.WYJ, &aa);
        ASSERT_EQ(aa, 4);
        auto sq = [&](int s) { return white ? s : twin_square(s); };
        const int generated[4] = {sq(76), sq(51), sq(54), sq(78)};
        for (int i = 0; i < 4; ++i) EXPECT_EQ(caps[i].x2, generated[i]);
        const int good = white ? sortbic<Side::White>(caps, 4) : sortbic<Side::Black>(caps, 4);
        // Knight, the two equal pawns in generation order, then the bad one.
        const int sorted[4] = {sq(51), sq(76), sq(78), sq(54)};
        for (int i = 0; i < 4; ++i) EXPECT_EQ(caps[i].x2, sorted[i]) << i;
        EXPECT_EQ(good, 3);
    }
}

TEST(CaptureSort, CastlingInTheCapturePartIsWorthNothing) {
    // One level below the root the expected reply is swapped to the front
    // of the list even when it is castling; the sort must not look at a
    // destination square for it.
    set_up("4k3/8/8/8/8/8/p7/4K2R w K - 0 1");
    Move list[1] = {Move{1, CASTLE_SHORT}};  // the rook on h1 is entry 1
    EXPECT_EQ(sortbic<Side::White>(list, 1), 1);
    EXPECT_EQ(list[0], (Move{1, CASTLE_SHORT}));
}

// The sort finds whether the other side defends each target square by the
// first piece on each ray, however far: a queen taking a pawn is a good
// capture only where nothing defends it.  Each board has that one capture.
TEST(CaptureSort, DefendersAlongLongAndBlockedRays) {
    const struct {
        const char* fen;
        bool defended;
    } cases[] = {
        {"b6k/8/8/3p4/8/8/8/3Q2K1 w - - 0 1", true},     // bishop down the long diagonal
        {"b6k/8/2N5/3p4/8/8/8/3Q2K1 w - - 0 1", false},  // ... blocked by a piece of ours
        {"3r3k/8/8/3p4/8/8/8/3Q2K1 w - - 0 1", true},    // rook down the file
        {"3r3k/8/3p4/3p4/8/8/8/3Q2K1 w - - 0 1", false}, // ... blocked by its own pawn
        {"7k/8/5n2/3p4/8/8/8/3Q2K1 w - - 0 1", true},    // knight
        {"8/8/4k3/3p4/8/8/8/3Q2K1 w - - 0 1", true},     // king
        {"7k/8/8/3p4/8/8/8/3Q2K1 w - - 0 1", false},     // nothing
        {"7k/8/8/3p4/8/3Q4/3P3K/3r4 w - - 0 1", false},  // a rook behind the capturer defends nothing
    };
    for (const auto& c : cases) {
        for (bool white : {true, false}) {
            SCOPED_TRACE(std::string(c.fen) + (white ? "" : " (Black twin)"));
            set_up(c.fen, 0, !white);
            Move quiet[MAX_MOVES], caps[MAX_MOVES];
            int aa = 0;
            if (white) superruchy<Side::White>(POS.PL, POS.BP, quiet, caps, POS.WYJ, &aa);
            else superruchy<Side::Black>(POS.PL, POS.CP, quiet, caps, POS.WYJ, &aa);
            ASSERT_EQ(aa, 1);
            const int good = white ? sortbic<Side::White>(caps, 1) : sortbic<Side::Black>(caps, 1);
            EXPECT_EQ(good, c.defended ? 0 : 1);
        }
    }
}

}  // namespace
}  // namespace morvelak::test
