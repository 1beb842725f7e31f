// The geometry the generators, the attack tests and the evaluations walk:
// where a knight and a king can go from each square, and how far apart two
// squares are.  It depends on nothing but the board's shape, so it is worked
// out by the compiler and is the same, read-only, for every build and run.
//
//   SKO / ILS   knight targets of a square, in a fixed offset order, and
//               their number
//   KRO / ILK   king targets, "up, then clockwise", and their number
//   ODL         closeness of two squares: 5 - trunc(euclidean distance)
//   ODLKROL     the older evaluation's plain trunc(distance)
//   TAB         the playing squares in the order of a printed board, rank 8
//               first: the n-th square character of a board file goes to
//               TAB[n], and the piece-list rebuild scans the board in it
#pragma once

#include "engine/position/types.hpp"

namespace morvelak {

struct Geometry {
    i8 SKO[100][8] = {};
    i8 ILS[100] = {};
    i8 KRO[100][8] = {};
    i8 ILK[100] = {};
    i8 ODL[100][100] = {};
    i8 ODLKROL[100][100] = {};
};

namespace detail {

// The whole square root of n (n >= 0): trunc(sqrt(n)) without floating point.
constexpr int whole_root(int n) {
    int r = 0;
    while ((r + 1) * (r + 1) <= n) ++r;
    return r;
}

constexpr Geometry make_geometry() {
    Geometry g;
    for (int a = 0; a < 100; ++a) {
        const int c = a % 10;
        int n = 0;
        // King: up, then clockwise.  The bounds keep border rows harmless;
        // only rows of playing squares are ever read.
        auto king = [&](int t) { g.KRO[a][n++] = static_cast<i8>(t); };
        if (a + 10 <= 88) king(a + 10);
        if (c != 8) {
            if (a + 11 <= 88) king(a + 11);
            if (a + 1 <= 88) king(a + 1);
            if (a - 9 >= 12) king(a - 9);
        }
        if (a - 10 >= 11) king(a - 10);
        if (c != 1) {
            if (a - 11 >= 11) king(a - 11);
            if (a - 1 >= 11) king(a - 1);
            if (a + 9 <= 87) king(a + 9);
        }
        g.ILK[a] = static_cast<i8>(n);

        n = 0;
        auto knight = [&](int t) { g.SKO[a][n++] = static_cast<i8>(t); };
        if (a + 21 <= 88 && c != 8) knight(a + 21);
        if (a + 12 <= 88 && c != 7 && c != 8) knight(a + 12);
        if (a + 19 <= 88 && c != 1) knight(a + 19);
        if (a + 8 <= 88 && c != 1 && c != 2) knight(a + 8);
        if (a - 12 >= 11 && c != 1 && c != 2) knight(a - 12);
        if (a - 21 >= 11 && c != 1) knight(a - 21);
        if (a - 19 >= 11 && c != 8) knight(a - 19);
        if (a - 8 >= 11 && c != 7 && c != 8) knight(a - 8);
        g.ILS[a] = static_cast<i8>(n);
    }
    for (int a = 0; a < 100; ++a) {
        for (int b = 0; b < 100; ++b) {
            const int df = a % 10 - b % 10;
            const int dr = a / 10 - b / 10;
            const int d = whole_root(df * df + dr * dr);
            g.ODL[a][b] = static_cast<i8>(5 - d);
            g.ODLKROL[a][b] = static_cast<i8>(d);
        }
    }
    return g;
}

}  // namespace detail

inline constexpr Geometry GEOMETRY = detail::make_geometry();

inline constexpr const auto& SKO = GEOMETRY.SKO;
inline constexpr const auto& ILS = GEOMETRY.ILS;
inline constexpr const auto& KRO = GEOMETRY.KRO;
inline constexpr const auto& ILK = GEOMETRY.ILK;
inline constexpr const auto& ODL = GEOMETRY.ODL;
inline constexpr const auto& ODLKROL = GEOMETRY.ODLKROL;

inline constexpr i8 TAB[64] = {
    81, 82, 83, 84, 85, 86, 87, 88,
    71, 72, 73, 74, 75, 76, 77, 78,
    61, 62, 63, 64, 65, 66, 67, 68,
    51, 52, 53, 54, 55, 56, 57, 58,
    41, 42, 43, 44, 45, 46, 47, 48,
    31, 32, 33, 34, 35, 36, 37, 38,
    21, 22, 23, 24, 25, 26, 27, 28,
    11, 12, 13, 14, 15, 16, 17, 18,
};

}  // namespace morvelak
