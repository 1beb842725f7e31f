// Attack tests: the edge cases of each attacker kind, and a cross-check
// against a plain piece-by-piece computation on random boards.
#include <gtest/gtest.h>

#include <random>
#include <set>

#include "engine/position/attacks.hpp"
#include "engine/position/legal.hpp"
#include "support.hpp"

namespace morvelak::test {
namespace {

// Does side `white` attack square a?  Walks every piece of the side, with
// coordinates rather than the mailbox, so it shares nothing with the engine.
bool naive_attacked(const i8* pl, bool white, int a) {
    const int af = a % 10, ar = a / 10;
    const i8 base = white ? 8 : 16;
    for (int s = 11; s <= 88; ++s) {
        if (!on_board(s) || s == a) continue;
        const i8 c = pl[s];
        if (c < base || c > base + 5) continue;
        const int f = s % 10, r = s / 10, df = af - f, dr = ar - r;
        const int kind = c - base;  // 0 king, 1 pawn, 2 knight, 3 bishop, 4 rook, 5 queen
        auto clear_line = [&](int sf, int sr) {
            for (int ff = f + sf, rr = r + sr; ff != af || rr != ar; ff += sf, rr += sr)
                if (pl[10 * rr + ff] != 0) return false;
            return true;
        };
        auto sgn = [](int x) { return (x > 0) - (x < 0); };
        switch (kind) {
        case 0:
            if (std::abs(df) <= 1 && std::abs(dr) <= 1) return true;
            break;
        case 1:
            if (std::abs(df) == 1 && dr == (white ? 1 : -1)) return true;
            break;
        case 2:
            if ((std::abs(df) == 1 && std::abs(dr) == 2) || (std::abs(df) == 2 && std::abs(dr) == 1)) return true;
            break;
        default: {
            const bool diag = std::abs(df) == std::abs(dr);
            const bool line = df == 0 || dr == 0;
            const bool ok = (kind == 3 && diag) || (kind == 4 && line) || (kind == 5 && (diag || line));
            if (ok && clear_line(sgn(df), sgn(dr))) return true;
        }
        }
    }
    return false;
}

// The squares a side attacks according to the engine.
std::set<int> attacked_squares(bool white) {
    std::set<int> out;
    for (int s = 11; s <= 88; ++s)
        if (on_board(s) && (white ? odbicia<Side::White>(POS.PL, s) : odbicia<Side::Black>(POS.PL, s))) out.insert(s);
    return out;
}

TEST(Attacks, EdgeCasesOfEachAttacker) {
    const struct {
        const char* board;
        bool white;           // which side's attacks are asked
        std::set<int> yes;    // must be attacked
        std::set<int> no;     // must not be attacked; empty: nothing but `yes` is
    } cases[] = {
        // Pawns strike diagonally forward only.
        {"8/8/8/8/8/8/3P4/8", true, {33, 35}, {34, 13, 15, 44, 23, 25}},
        {"8/3p4/8/8/8/8/8/8", false, {63, 65}, {64, 83, 85, 54, 73, 75}},
        // A pawn on the a-file does not wrap round to the h-file.
        {"8/8/8/8/8/8/P7/8", true, {32}, {}},
        {"8/p7/8/8/8/8/8/8", false, {62}, {}},
        {"8/8/8/8/8/8/7P/8", true, {37}, {}},
        // The king's reach is one square.
        {"8/8/8/8/8/8/8/4K3", true, {14, 24, 25, 26, 16}, {}},
        // Rook a1 through b1: empty, a black piece, a white knight.
        {"8/8/8/8/8/8/8/R7", true, {12, 13, 18, 21, 81}, {22}},
        {"8/8/8/8/8/8/8/Rn6", true, {12, 21}, {13, 14}},
        {"8/8/8/8/8/8/8/RN6", true, {12, 21, 33, 31, 24}, {13, 14}},
        // A lone knight on b1 attacks a3, c3, d2 and nothing else.
        {"8/8/8/8/8/8/8/1N6", true, {31, 33, 24}, {}},
        {"8/8/8/8/8/8/8/N7", true, {32, 23}, {}},
        {"7N/8/8/8/8/8/8/8", true, {76, 67}, {}},
        {"8/8/8/8/8/8/8/7n", false, {37, 26}, {}},
        // Queen f6 to d4 through e5: open, then blocked by her own knight.
        {"8/8/5q2/8/8/8/8/8", false, {44, 55, 33, 22, 11, 86, 16}, {45, 54}},
        {"8/8/5q2/4n3/8/8/8/8", false, {55, 34, 43, 56, 65}, {44, 33, 22, 11}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.board);
        setup_board(c.board);
        for (int s : c.yes) EXPECT_EQ(c.white ? odbicia<Side::White>(POS.PL, s) : odbicia<Side::Black>(POS.PL, s), 1) << "square " << s;
        for (int s : c.no) EXPECT_EQ(c.white ? odbicia<Side::White>(POS.PL, s) : odbicia<Side::Black>(POS.PL, s), 0) << "square " << s;
        if (c.no.empty()) {
            EXPECT_EQ(attacked_squares(c.white), c.yes);
        }
    }
}

// Boards with a single piece: the engine's set of attacked squares must be
// exactly the naive one, for every piece kind on every square.
TEST(Attacks, SinglePieceEverywhere) {
    for (int code : {8, 9, 10, 11, 12, 13, 16, 17, 18, 19, 20, 21}) {
        for (int s = 11; s <= 88; ++s) {
            if (!on_board(s)) continue;
            for (i8& b : POS.PL) b = BORDER;
            for (int t = 11; t <= 88; ++t)
                if (on_board(t)) POS.PL[t] = 0;
            POS.PL[s] = static_cast<i8>(code);
            const bool white = code < 16;
            for (int t = 11; t <= 88; ++t) {
                if (!on_board(t)) continue;
                const int got = white ? odbicia<Side::White>(POS.PL, t) : odbicia<Side::Black>(POS.PL, t);
                ASSERT_EQ(got != 0, naive_attacked(POS.PL, white, t)) << "code " << code << " on " << s << ", square " << t;
                // The other side has no piece at all.
                ASSERT_EQ(white ? odbicia<Side::Black>(POS.PL, t) : odbicia<Side::White>(POS.PL, t), 0);
            }
        }
    }
}

TEST(Attacks, PieceOnTheTestedSquareIsIgnored) {
    // The white king on e1 neither blocks nor counts: the rook on e8 sees it.
    setup_board("4r3/8/8/8/8/8/8/4K3");
    EXPECT_EQ(odbicia<Side::Black>(POS.PL, 15), 1);
    // Any piece of either colour on the tested square changes nothing.
    for (i8 code : {W_KING, W_ROOK, B_ROOK, B_QUEEN, W_PAWN}) {
        POS.PL[45] = code;
        EXPECT_EQ(odbicia<Side::Black>(POS.PL, 45), 1) << int(code);
        EXPECT_EQ(odbicia<Side::White>(POS.PL, 45), 0) << int(code);
    }
}

// Random boards: every square, both colours, against the naive computation.
TEST(Attacks, AgreesWithNaiveComputationOnRandomBoards) {
    std::mt19937 rng(20240607);
    const i8 codes[] = {8, 9, 10, 11, 12, 13, 16, 17, 18, 19, 20, 21};
    for (int round = 0; round < 3000; ++round) {
        for (i8& b : POS.PL) b = BORDER;
        for (int s = 11; s <= 88; ++s)
            if (on_board(s)) POS.PL[s] = 0;
        const int pieces = 2 + static_cast<int>(rng() % 30);
        for (int k = 0; k < pieces; ++k) {
            const int s = 10 * (1 + static_cast<int>(rng() % 8)) + 1 + static_cast<int>(rng() % 8);
            POS.PL[s] = codes[rng() % 12];
        }
        for (int a = 11; a <= 88; ++a) {
            if (!on_board(a)) continue;
            ASSERT_EQ(odbicia<Side::White>(POS.PL, a) != 0, naive_attacked(POS.PL, true, a)) << "round " << round << " square " << a;
            ASSERT_EQ(odbicia<Side::Black>(POS.PL, a) != 0, naive_attacked(POS.PL, false, a)) << "round " << round << " square " << a;
            // The same question answered from the occupancy by bit scans.
            ASSERT_EQ(attacked_read<Side::White>(a) != 0, naive_attacked(POS.PL, true, a)) << "round " << round << " square " << a;
            ASSERT_EQ(attacked_read<Side::Black>(a) != 0, naive_attacked(POS.PL, false, a)) << "round " << round << " square " << a;
        }
    }
}

// The attack along one line (odslona): on random boards, for every pair of
// squares, the first piece met from a towards `through` attacks a exactly
// when the naive computation, with that piece alone on the board, says so.
TEST(Attacks, OneLineAgreesWithTheFirstPieceOnIt) {
    std::mt19937 rng(20261207);
    const i8 codes[] = {8, 9, 10, 11, 12, 13, 16, 17, 18, 19, 20, 21};
    i8 alone[100];
    for (int round = 0; round < 300; ++round) {
        for (i8& b : POS.PL) b = BORDER;
        for (int s = 11; s <= 88; ++s)
            if (on_board(s)) POS.PL[s] = 0;
        const int pieces = 2 + static_cast<int>(rng() % 24);
        for (int k = 0; k < pieces; ++k) {
            const int s = 10 * (1 + static_cast<int>(rng() % 8)) + 1 + static_cast<int>(rng() % 8);
            POS.PL[s] = codes[rng() % 12];
        }
        for (int a = 11; a <= 88; ++a) {
            if (!on_board(a)) continue;
            for (int t = 11; t <= 88; ++t) {
                if (!on_board(t) || t == a) continue;
                const int df = t % 10 - a % 10, dr = t / 10 - a / 10;
                const bool line = df == 0 || dr == 0 || std::abs(df) == std::abs(dr);
                bool white = false, black = false;
                if (line) {
                    const int sf = (df > 0) - (df < 0), sr = (dr > 0) - (dr < 0);
                    int f = a % 10 + sf, r = a / 10 + sr;
                    while (f >= 1 && f <= 8 && r >= 1 && r <= 8 && POS.PL[10 * r + f] == 0) {
                        f += sf;
                        r += sr;
                    }
                    if (f >= 1 && f <= 8 && r >= 1 && r <= 8) {
                        for (int s = 0; s < 100; ++s) alone[s] = on_board(s) ? 0 : BORDER;
                        alone[10 * r + f] = POS.PL[10 * r + f];
                        white = naive_attacked(alone, true, a);
                        black = naive_attacked(alone, false, a);
                    }
                }
                const int w = odslona<Side::White>(POS.PL, a, t), b = odslona<Side::Black>(POS.PL, a, t);
                if (line) {
                    ASSERT_EQ(w != 0, white) << "round " << round << " " << a << " through " << t;
                    ASSERT_EQ(b != 0, black) << "round " << round << " " << a << " through " << t;
                }
                // Whatever the squares, it is a ray of the full test.
                if (w) {
                    ASSERT_EQ(odbicia<Side::White>(POS.PL, a), 1) << a << " through " << t;
                }
                if (b) {
                    ASSERT_EQ(odbicia<Side::Black>(POS.PL, a), 1) << a << " through " << t;
                }
            }
        }
    }
}

TEST(Attacks, ResultIsZeroOrOne) {
    setup_board("qqq5/qkq5/qqq5/8/8/5QQQ/5QKQ/5QQQ");
    for (int s = 11; s <= 88; ++s) {
        if (!on_board(s)) continue;
        EXPECT_TRUE(odbicia<Side::White>(POS.PL, s) == 0 || odbicia<Side::White>(POS.PL, s) == 1);
        EXPECT_TRUE(odbicia<Side::Black>(POS.PL, s) == 0 || odbicia<Side::Black>(POS.PL, s) == 1);
    }
}

}  // namespace
}  // namespace morvelak::test
