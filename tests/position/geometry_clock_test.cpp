// Geometry tables worked out by the compiler, the square text conversions, the
// stopwatch rule and the random generator.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "support.hpp"
#include "util/clock.hpp"
#include "util/random.hpp"

namespace morvelak::test {
namespace {

std::vector<int> row(const i8 (&table)[100][8], const i8* count, int s) {
    return std::vector<int>(table[s], table[s] + count[s]);
}

TEST(Geometry, NamedRows) {
    EXPECT_EQ(row(SKO, ILS, 11), (std::vector<int>{32, 23}));
    EXPECT_EQ(row(SKO, ILS, 45), (std::vector<int>{66, 57, 64, 53, 33, 24, 26, 37}));
    EXPECT_EQ(row(SKO, ILS, 88), (std::vector<int>{76, 67}));
    EXPECT_EQ(row(SKO, ILS, 12), (std::vector<int>{33, 24, 31}));
    EXPECT_EQ(row(KRO, ILK, 11), (std::vector<int>{21, 22, 12}));
    EXPECT_EQ(row(KRO, ILK, 88), (std::vector<int>{78, 77, 87}));
    EXPECT_EQ(row(KRO, ILK, 45), (std::vector<int>{55, 56, 46, 36, 35, 34, 44, 54}));
    EXPECT_EQ(row(KRO, ILK, 18), (std::vector<int>{28, 17, 27}));
    EXPECT_EQ(row(KRO, ILK, 81), (std::vector<int>{82, 72, 71}));
}

// Every playing square: exactly the on-board targets, in the fixed offset
// order with the missing ones closed up.
TEST(Geometry, EveryRowFollowsTheOffsetOrder) {
    const int knight[8] = {21, 12, 19, 8, -12, -21, -19, -8};
    const int king[8] = {10, 11, 1, -9, -10, -11, -1, 9};
    for (int s = 11; s <= 88; ++s) {
        if (!on_board(s)) continue;
        std::vector<int> n, k;
        for (int d : knight) {
            const int f = s % 10 + (d + 100) % 10 - (((d + 100) % 10) > 5 ? 10 : 0);
            const int t = s + d;
            if (f >= 1 && f <= 8 && on_board(t)) n.push_back(t);
        }
        for (int d : king) {
            const int t = s + d;
            if (on_board(t)) k.push_back(t);
        }
        EXPECT_EQ(row(SKO, ILS, s), n) << s;
        EXPECT_EQ(row(KRO, ILK, s), k) << s;
    }
}

TEST(Geometry, Distances) {
    const struct {
        int a, b, odl, odlkrol;
    } cases[] = {
        {11, 11, 5, 0}, {11, 22, 4, 1}, {11, 12, 4, 1}, {11, 33, 3, 2},
        {11, 13, 3, 2}, {11, 88, -4, 9}, {45, 54, 4, 1}, {18, 81, -4, 9},
        {11, 81, -2, 7}, {11, 23, 3, 2},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ODL[c.a][c.b], c.odl) << c.a << "-" << c.b;
        EXPECT_EQ(ODL[c.b][c.a], c.odl) << c.b << "-" << c.a;
        EXPECT_EQ(ODLKROL[c.a][c.b], c.odlkrol) << c.a << "-" << c.b;
    }
}

TEST(Geometry, SquareText) {
    EXPECT_EQ(square_from_text('a', '1'), 11);
    EXPECT_EQ(square_from_text('h', '8'), 88);
    EXPECT_EQ(square_from_text('e', '2'), 25);
    EXPECT_EQ(file_char(25), 'e');
    EXPECT_EQ(rank_char(25), '2');
    for (int s = 11; s <= 88; ++s) {
        if (on_board(s)) {
            EXPECT_EQ(square_from_text(file_char(s), rank_char(s)), s);
        }
    }
    EXPECT_EQ(std::vector<int>(TAB, TAB + 9), (std::vector<int>{81, 82, 83, 84, 85, 86, 87, 88, 71}));
    EXPECT_EQ(TAB[63], 18);
}

TEST(Clock, ElapsedCentiseconds) {
    const struct {
        int previous, now, elapsed;
    } cases[] = {
        {3600000, 3600150, 150},    // 1.5 s
        {0, 3600000, 3600000},      // first call at 10:00:00.00
        {0, 0, 0},
        {8639900, 0, 100},          // 23:59:59.00 to midnight: one second
        {8639999, 5, 6},
        {8000000, 100, 640100},     // across midnight, the real time
        {100, 8000000, 7999900},
    };
    for (const auto& c : cases)
        EXPECT_EQ(elapsed_centiseconds(c.previous, c.now), c.elapsed) << c.previous << " -> " << c.now;
}

TEST(Clock, StopwatchRestartsOnEveryCall) {
    Stopwatch clock;
    clock.CZAS();
    const int a = clock.CZAS();
    EXPECT_GE(a, 0);
    EXPECT_LT(a, 8640000);
}

TEST(Random, SeededSequenceRepeatsAndHas31Bits) {
    Random random;
    random.seed(123456789);
    std::vector<std::uint32_t> first;
    for (int k = 0; k < 1000; ++k) first.push_back(random.random31());
    random.seed(123456789);
    bool high = false;
    for (int k = 0; k < 1000; ++k) {
        const std::uint32_t v = random.random31();
        EXPECT_EQ(v, first[k]);
        EXPECT_LT(v, 0x80000000u);
        high |= v >= 0x40000000u;
    }
    EXPECT_TRUE(high);
    // The generator's rule: state * 0x015A4E35 + 1, bits 32..62 of the state.
    random.seed(1);
    EXPECT_EQ(random.random31(), 0u);
    const std::uint64_t s2 = 0x015A4E36ull * 0x015A4E35ull + 1;
    EXPECT_EQ(random.random31(), static_cast<std::uint32_t>((s2 >> 32) & 0x7FFFFFFF));
}

}  // namespace
}  // namespace morvelak::test
