// Pawn structure: each rule on its own, with every other weight silenced.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/eval_m31/board.hpp"
#include "tests/eval_m31/reference.hpp"

namespace morvelak::test {
namespace {

// A table whose value names its square, to see which square was read.
constexpr PieceSquare ramp() {
    PieceSquare t{};
    for (int s = 0; s < 100; ++s) t[s] = static_cast<i8>(s % 37);
    return t;
}
const PieceSquare RAMP = ramp();

TEST(Ocpion, EachRuleAlone) {
    struct Case {
        const char* what;
        std::string rows;
        void (*weights)();
        int expect;
    } cases[] = {
        // WOLNY[r] = 2^r names the rank that was paid.
        {"passed beside an enemy pawn on the same rank (both)",
         ".......k" "........" "........" "Pp......" "........" "........" "........" ".......K",
         [] { for (int r = 0; r < 8; ++r) EVAL.WOLNY[r] = 1 << r; }, 32 - 16},
        {"enemy pawn one rank up on the next file stops both",
         ".......k" "........" ".p......" "P......." "........" "........" "........" ".......K",
         [] { for (int r = 0; r < 8; ++r) EVAL.WOLNY[r] = 1 << r; }, 0},
        // Only Black's lowest b-pawn (b3) is looked at: a5 stays passed and
        // so is b3 (its own rank 6), the b7 pawn is not tested.
        {"enemy pawn further up the next file does not count",
         ".......k" ".p......" "........" "P......." "........" ".p......" "........" ".......K",
         [] { for (int r = 0; r < 8; ++r) EVAL.WOLNY[r] = 1 << r; }, 32 - 64},
        {"enemy king near a passed pawn",
         "........" "k......." "........" "P......." "........" "........" "........" ".......K",
         [] { EVAL.ODLKROLWOLNY = 1; }, -3},
        {"tripled white pawns pay twice",
         ".......k" "........" "........" "........" "....P..." "....P..." "....P..." ".......K",
         [] { EVAL.DUBEL = 1; }, -2},
        {"tripled black pawns pay twice",
         ".......k" "....p..." "....p..." "....p..." "........" "........" "........" ".......K",
         [] { EVAL.DUBEL = 1; }, 2},
        {"protected from both sides counts once",
         ".......k" "........" "........" "........" "....P..." "...P.P.." "........" ".......K",
         [] { EVAL.KRYCIE = 1; }, 1},
        {"black pawn protected from both sides",
         ".......k" "........" "...p.p.." "....p..." "........" "........" "........" ".......K",
         [] { EVAL.KRYCIE = 1; }, -1},
        {"isolated, enemy pawn on the file",
         ".......k" "pp......" "........" "........" "........" "........" "P......." ".......K",
         [] { EVAL.SAMOTNY = 1; EVAL.SLABY = 10; }, -1},
        {"isolated, no enemy pawn on the file",
         ".......k" "........" "........" "........" "...P...." "........" "........" ".......K",
         [] { EVAL.SAMOTNY = 1; EVAL.SLABY = 10; }, -11},
        {"black isolated, no enemy pawn on the file",
         ".......k" "........" "........" "...p...." "........" "........" "........" ".......K",
         [] { EVAL.SAMOTNY = 1; EVAL.SLABY = 10; }, 11},
        {"isolated doubled pawns pay once for isolation",
         ".......k" "........" "........" "........" "........" "...P...." "...P...." ".......K",
         [] { EVAL.SAMOTNY = 1; EVAL.DUBEL = 100; }, -101},
        {"pawns on both neighbour files are not isolated",
         ".......k" "........" "........" "........" "........" "........" "..PPP..." ".......K",
         [] { EVAL.SAMOTNY = 1; }, 0},
        // ODL = 5 - 2 for a king two squares away.
        {"enemy king near each pawn",
         ".......k" "........" "........" "....p..." "........" "....K..." "........" "........",
         [] { EVAL.ODLKROLPION = 1; }, 3},
        {"enemy king near a white pawn",
         "........" "........" "....k..." "........" "....P..." "........" "........" ".......K",
         [] { EVAL.ODLKROLPION = 1; }, -3},
        // Black's table is read at the square itself: c3 (33) and c6 (63).
        {"tables read at the square, unmirrored",
         ".......k" "........" "..p....." "........" "........" "..P....." "........" ".......K",
         [] { EVAL.OCPIONB = EVAL.OCPIONC = RAMP.data(); }, RAMP[33] - RAMP[63]},
    };
    for (const Case& c : cases) {
        set_up(c.rows);
        silence();
        c.weights();
        EXPECT_EQ(evaluate().pawns, c.expect) << c.what;
    }
}

TEST(Ocpion, FilesKeepTheMostAdvancedPawn) {
    set_up("....k..." "p...p..." "p...p..." "....p..." "....P..." "....P..." "....P..." "....K...");
    const Eval e = evaluate();
    const i8 whites[8] = {0, 0, 0, 0, 45, 0, 0, 0};  // e4, the highest
    const i8 blacks[8] = {61, 0, 0, 0, 55, 0, 0, 0};  // a6 and e5, the lowest
    for (int f = 0; f < 8; ++f) {
        EXPECT_EQ(e.pionb[f], whites[f]) << "file " << f;
        EXPECT_EQ(e.pionc[f], blacks[f]) << "file " << f;
    }
}

TEST(Ocpion, NoPawnsScoreNothingAndClearBothArrays) {
    set_up("....k..." "...hw..." "........" "........" "........" "........" "..SG...." "....K...", 30);
    const Eval e = evaluate();
    EXPECT_EQ(e.pawns, 0);
    for (int f = 0; f < 8; ++f) {
        EXPECT_EQ(e.pionb[f], 0);
        EXPECT_EQ(e.pionc[f], 0);
    }
}

TEST(Ocpion, StartPositionIsBalanced) {
    set_up(START);
    const Eval e = evaluate();
    EXPECT_EQ(e.pawns, 0);
    for (int f = 0; f < 8; ++f) {
        EXPECT_EQ(e.pionb[f], 21 + f);
        EXPECT_EQ(e.pionc[f], 71 + f);
    }
}

// The structure of a placement is kept with its pawns and its kings: fixed
// pawns under pair after pair of kings meet their own structure again and
// again, and must never be scored with another pair's closeness.  Passed
// pawns of both colours (c5 for White, h4 for Black) make the kings'
// closeness to them count too.  Each pair is scored twice, as a search
// meets it again.
TEST(Ocpion, SamePawnsUnderEveryPairOfKings) {
    set_up("k......." "......p." "....p..." "..P.P..." ".......p" "p....P.." "PP......" ".......K", 90);
    EVAL.ODLKROLPION = 3;
    EVAL.ODLKROLWOLNY = 7;
    for (int r = 0; r < 8; ++r) EVAL.WOLNY[r] = 11 * r;
    i8& whiteKing = POS.BP[2 * POS.KROLB + 1];
    i8& blackKing = POS.CP[2 * POS.KROLC + 1];
    long scored = 0;
    for (int kw = 11; kw <= 88; ++kw) {
        for (int kb = 88; kb >= 11; --kb) {
            if (kw % 10 == 0 || kw % 10 == 9 || kb % 10 == 0 || kb % 10 == 9) continue;
            if (kw == kb) continue;
            // Each king leaves its square for the new one, if that is free.
            POS.PL[whiteKing] = EMPTY;
            POS.PL[blackKing] = EMPTY;
            if (POS.PL[kw] == EMPTY && POS.PL[kb] == EMPTY) {
                whiteKing = static_cast<i8>(kw);
                blackKing = static_cast<i8>(kb);
            }
            POS.PL[whiteKing] = W_KING;
            POS.PL[blackKing] = B_KING;
            i8 rb[8], rc[8];
            const int want = ref::ocpion(POS.PL, rb, rc);
            for (int again = 0; again < 2; ++again) {
                i8 pb[8], pc[8];
                ASSERT_EQ(OCPION(POS.PL, pb, pc), want) << "kings " << int(whiteKing) << " " << int(blackKing);
                ASSERT_EQ(std::memcmp(pb, rb, 8) | std::memcmp(pc, rc, 8), 0)
                    << "kings " << int(whiteKing) << " " << int(blackKing);
                ++scored;
            }
        }
    }
    EXPECT_GT(scored, 5000);
}

}  // namespace
}  // namespace morvelak::test
