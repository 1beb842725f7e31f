// Piece placement: the start position, each rule with every other weight
// silenced, and the colour-mirrored twin of a few positions.
#include <gtest/gtest.h>

#include <string>

#include "tests/eval_m31/board.hpp"

namespace morvelak::test {
namespace {

TEST(Ocpoz, StartPosition) {
    // Everything cancels but the corner rooks: -5 twice for White's, -3 twice
    // for Black's.
    set_up(START);
    EXPECT_EQ(evaluate().placement, -4);
}

TEST(Ocpoz, EachRuleAlone) {
    struct Case {
        const char* what;
        std::string rows;
        void (*weights)();
        int expect;
    } cases[] = {
        // Doubled rooks: only the rook visited just before is compared.  White
        // is visited rank 8 down, a to h; Black rank 1 up, h to a.
        {"two rooks on a file", "k......." "........" "........" "........" "........" "W......." "........" "W...K...",
         [] { EVAL.WIEZAZDWOJENIE = 1; }, 1},
        {"three rooks on a file", "k......." "........" "........" "W......." "........" "W......." "........" "W...K...",
         [] { EVAL.WIEZAZDWOJENIE = 1; }, 2},
        {"another file visited between", "k......." "........" "........" "........" "........" "W......." ".W......" "W...K...",
         [] { EVAL.WIEZAZDWOJENIE = 1; }, 0},
        {"rank order: a2, a1, then b1", "k......." "........" "........" "........" "........" "........" "W......." "WW..K...",
         [] { EVAL.WIEZAZDWOJENIE = 1; }, 1},
        {"black rooks on a file", "w...k..." "........" "w......." "........" "........" "........" "........" "....K...",
         [] { EVAL.WIEZAZDWOJENIE = 1; }, -1},
        {"black: another file visited between", "w...k..." ".w......" "w......." "........" "........" "........" "........" "....K...",
         [] { EVAL.WIEZAZDWOJENIE = 1; }, 0},
        {"one bishop", "....k..." "........" "........" "........" "........" "........" "........" "..G.K...",
         [] { EVAL.PARAGONCOW = 1; }, 0},
        {"bishop pair", "....k..." "........" "........" "........" "........" "........" "........" "..G.KG..",
         [] { EVAL.PARAGONCOW = 1; }, 1},
        {"three bishops earn it twice", "....k..." "........" "........" "........" "..G....." "........" "........" "..G.KG..",
         [] { EVAL.PARAGONCOW = 1; }, 2},
        {"black bishop pair", "..g.kg.." "........" "........" "........" "........" "........" "........" "....K...",
         [] { EVAL.PARAGONCOW = 1; }, -1},
        // Kings e1 and h8: each colour missing from the king's file costs once.
        {"kings on files without pawns", ".......k" "........" "........" "........" "........" "........" "........" "....K...",
         [] { EVAL.BKWOLNALINIA = 1; EVAL.CKWOLNALINIA = 100; }, -2 + 200},
        {"own pawn only", ".......k" ".......p" "........" "........" "........" "........" "....P..." "....K...",
         [] { EVAL.BKWOLNALINIA = 1; EVAL.CKWOLNALINIA = 100; }, -1 + 100},
        {"both colours on both files", ".......k" "....p..p" "........" "........" "........" "........" "....P..P" "....K...",
         [] { EVAL.BKWOLNALINIA = 1; EVAL.CKWOLNALINIA = 100; }, 0},
        // Shelter: near ring 1, second ring 10.
        {"pawns in front of the king", "......k." "........" "........" "........" "........" "........" ".....PPP" "......K.",
         [] { EVAL.CHRONIKROLA1 = 1; EVAL.CHRONIKROLA2 = 10; }, 3},
        {"pawns beside and two ahead", "......k." "........" "........" "........" ".....PPP" "........" ".....PKP" "........",
         [] { EVAL.CHRONIKROLA1 = 1; EVAL.CHRONIKROLA2 = 10; }, 2 + 30},
        {"king on the edge file", "......k." "........" "........" "........" "........" "......P." "......PP" ".......K",
         [] { EVAL.CHRONIKROLA1 = 1; EVAL.CHRONIKROLA2 = 10; }, 2 + 10},
        {"pawns behind the king do not shelter", "......k." "........" "........" "........" "........" "......K." ".....PPP" "........",
         [] { EVAL.CHRONIKROLA1 = 1; EVAL.CHRONIKROLA2 = 10; }, 0},
        {"black shelter", "......k." ".....ppp" "......p." "........" "........" "........" "........" "......K.",
         [] { EVAL.CHRONIKROLA1 = 1; EVAL.CHRONIKROLA2 = 10; }, -13},
        // A king on its last rank has nothing two ranks ahead on the board.
        {"kings on the far rank", "....K..." "...PPP.." "........" "........" "........" "........" "...ppp.." "....k...",
         [] { EVAL.CHRONIKROLA1 = 1; EVAL.CHRONIKROLA2 = 10; }, 0},
        // Blockade: in front of an own pawn 1, of an enemy pawn 10.
        {"white pieces in front of pawns", "....k..." "........" "..p.p..." "..S.G..." "...W...." "...P.H.." ".....P.." "....K...",
         [] { EVAL.BLOKADASWOJEGO = 1; EVAL.BLOKADAOBCEGO = 10; }, 10 + 10 - 1 - 1},
        {"black pieces in front of pawns", "....k..." "..p....." "..h....." "........" "....s..." "....P..." "........" "....K...",
         [] { EVAL.BLOKADASWOJEGO = 1; EVAL.BLOKADAOBCEGO = 10; }, 1 - 10},
        {"king in front of pawns", "........" "........" "....p..." "....K..." "....P..." "........" "........" ".......k",
         [] { EVAL.BLOKADASWOJEGO = 1; EVAL.BLOKADAOBCEGO = 10; }, 10 - 1},
        // Closeness to the enemy king (ODL) times a weight per piece: knight
        // e6 3, bishop b5 1, rook a1 -3, queen h8 2 from the king on e8.
        {"closeness to the enemy king", "....k..H" "........" "....S..." ".G......" "........" "........" "........" "W......K",
         [] { EVAL.ODLKROLSKOCZEK = 1; EVAL.ODLKROLGONIEC = 10; EVAL.ODLKROLWIEZA = 100; EVAL.ODLKROLHETMAN = 1000; },
         3 + 10 - 300 + 2000},
        {"black queen near the white king", "....k..." "........" "........" "...h...." "........" "........" "........" "...K....",
         [] { EVAL.ODLKROLHETMAN = 1; }, -1},
        {"rook on a file with enemy pawns only", "....k..." "....p..." "........" "........" "........" "........" "........" "....W..K",
         [] { EVAL.WWOLNALINIA = 1; }, 1},
        {"black rook on a file with enemy pawns only", "...wk..." "........" "........" "........" "........" "........" "...P...." "....K...",
         [] { EVAL.WWOLNALINIA = 1; }, -1},
        {"rook behind its own pawn", "....k..." "........" "........" "........" "........" "........" "....P..." "....W..K",
         [] { EVAL.WWOLNALINIA = 1; }, 0},
    };
    for (const Case& c : cases) {
        set_up(c.rows);
        silence();
        c.weights();
        EXPECT_EQ(evaluate().placement, c.expect) << c.what;
    }
}

TEST(Ocpoz, TablesAreReadAtTheSquareWithoutMirroring) {
    // Value 100 + square for White's tables and -square for Black's, so the
    // score shows which table was read at which square.
    static PieceSquare whiteT, blackT;
    for (int s = 0; s < 100; ++s) {
        whiteT[s] = static_cast<i8>(s % 50);
        blackT[s] = static_cast<i8>(-(s % 40));
    }
    struct Case {
        const char* pieces;  // white piece on c3, black piece on f6
        const i8** white;
        const i8** black;
    } cases[] = {
        {"Ss", &EVAL.OCSKOCB, &EVAL.OCSKOCC}, {"Gg", &EVAL.OCGONCB, &EVAL.OCGONCC}, {"Ww", &EVAL.OCWIEZB, &EVAL.OCWIEZC},
        {"Hh", &EVAL.OCHETMB, &EVAL.OCHETMC}, {"Kk", &EVAL.OCKROLB, &EVAL.OCKROLC},
    };
    for (const Case& c : cases) {
        std::string rows(64, '.');
        rows[5 * 8 + 2] = c.pieces[0];  // c3
        rows[2 * 8 + 5] = c.pieces[1];  // f6
        if (c.pieces[0] != 'K') {
            rows[63] = 'K';  // h1
            rows[0] = 'k';   // a8
        }
        set_up(rows);
        silence();
        *c.white = whiteT.data();
        *c.black = blackT.data();
        EXPECT_EQ(evaluate().placement, whiteT[33] - blackT[66]) << c.pieces;
    }
}

TEST(Ocpoz, MobilityByPhase) {
    struct Case {
        int stanb, movesB, stanc, movesC, expect;
    } cases[] = {
        {0, 7, 0, 9, 0}, {1, 7, 0, 9, 7},  {0, 7, 1, 9, -9},  {2, 7, 0, 9, 3},
        {0, 9, 2, 7, -3}, {2, 7, 2, 7, 0}, {1, 30, 2, 25, 18}, {2, 1, 1, 0, 0},
    };
    for (const Case& c : cases) {
        set_up("....k..." + std::string(48, '.') + "....K...");
        silence();
        EVAL.STANB = static_cast<i8>(c.stanb);
        EVAL.STANC = static_cast<i8>(c.stanc);
        EVAL.ILOSCPOLB = c.movesB;
        EVAL.ILOSCPOLC = c.movesC;
        EXPECT_EQ(evaluate().placement, c.expect) << c.stanb << " " << c.movesB << " " << c.stanc << " " << c.movesC;
    }
}

// The colour-mirrored twin of a position (board turned half round, colours
// swapped) must score the exact negative.  The real piece-square tables are
// not mirror images of each other everywhere, so White gets made-up tables
// and Black their turned-round copies; the weights are the real ones.  Each position leaves both sides with a rook or queen, and both in
// the same phase, so that no weight depends on which colour is which.
TEST(Eval, MirroredTwinScoresTheNegative) {
    static PieceSquare whiteT[6], blackT[6];
    for (int k = 0; k < 6; ++k)
        for (int s = 0; s < 100; ++s) {
            whiteT[k][s] = static_cast<i8>((s * (k + 3) * 7) % 41 - 20);
            blackT[k][99 - s] = whiteT[k][s];
        }
    const std::string MIDDLE =
        "..w...k."
        "p.wg.ppp"
        ".p.p.s.."
        "h.pP..g."
        "P.P..S.."
        ".H..GG.."
        ".P.W.PPP"
        "...W..K.";
    const std::string ENDING =
        "......k."
        ".....p.p"
        "......p."
        "P......."
        "..p....."
        "........"
        ".P...K.."
        "...W..w.";
    struct Case {
        const std::string* rows;
        int plies;
    } cases[] = {{&MIDDLE, 5}, {&MIDDLE, 25}, {&ENDING, 40}};

    for (const Case& c : cases) {
        Eval e[2];
        for (int twin = 0; twin < 2; ++twin) {
            set_up(twin ? rotated(*c.rows) : *c.rows, c.plies);
            ASSERT_EQ(EVAL.STANB, EVAL.STANC);
            const i8** white[6] = {&EVAL.OCPIONB, &EVAL.OCSKOCB, &EVAL.OCGONCB, &EVAL.OCWIEZB, &EVAL.OCHETMB, &EVAL.OCKROLB};
            const i8** black[6] = {&EVAL.OCPIONC, &EVAL.OCSKOCC, &EVAL.OCGONCC, &EVAL.OCWIEZC, &EVAL.OCHETMC, &EVAL.OCKROLC};
            for (int k = 0; k < 6; ++k) {
                *white[k] = whiteT[k].data();
                *black[k] = blackT[k].data();
            }
            EVAL.ILOSCPOLB = twin ? 17 : 31;
            EVAL.ILOSCPOLC = twin ? 31 : 17;
            e[twin] = evaluate();
        }
        EXPECT_NE(e[0].pawns, 0) << "plies " << c.plies;
        EXPECT_NE(e[0].placement, 0) << "plies " << c.plies;
        EXPECT_EQ(e[1].pawns, -e[0].pawns) << "plies " << c.plies;
        EXPECT_EQ(e[1].placement, -e[0].placement) << "plies " << c.plies;
        for (int f = 0; f < 8; ++f) {
            EXPECT_EQ(e[1].pionb[f], e[0].pionc[7 - f] ? 99 - e[0].pionc[7 - f] : 0);
            EXPECT_EQ(e[1].pionc[f], e[0].pionb[7 - f] ? 99 - e[0].pionb[7 - f] : 0);
        }
    }
}

}  // namespace
}  // namespace morvelak::test
