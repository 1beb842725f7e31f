// Phase decision of the older builds (full moves), the open-file test, and
// the table wiring that the value tests cannot see directly.
#include <gtest/gtest.h>

#include <string>

#include "driver/history.hpp"
#include "tests/eval_older/board.hpp"

namespace morvelak::test {
namespace {

TEST(OldWstawstan, PhaseByFullMoves) {
    // White's minor pieces are all off the first rank, Black's still home.
    const std::string developed =
        "wsghkgsw" "pppppppp" "........" "........" "..G..G.." "..S..S.." "PPPPPPPP" "W..HK..W";
    // Rook and two knights a side: 2200 of material, not below the bound.
    const std::string rnn = "w...k..." "........" "..s..s.." "........" "........" "..S..S.." "........" "W...K...";
    // Rook and knight a side: 1600.
    const std::string rn = "w...k..." "........" "..s....." "........" "........" "..S....." "........" "W...K...";
    struct Row {
        const char* what;
        std::string rows;
        int moves;
        int stanb, stanc;
    } rows[] = {
        {"start, move 0", START, 0, 0, 0},
        {"start, move 6: minors at home", START, 6, 0, 0},
        {"start, move 12", START, 12, 1, 1},
        {"developed White, move 5", developed, 5, 0, 0},
        {"developed White, move 6", developed, 6, 1, 0},
        {"developed White, move 11", developed, 11, 1, 0},
        {"developed White, move 12", developed, 12, 1, 1},
        {"2200 of pieces, move 20", rnn, 20, 1, 1},
        {"2200 of pieces, move 0", rnn, 0, 0, 0},
        {"1600 of pieces, move 0", rn, 0, 2, 2},
        {"1600 of pieces, move 20", rn, 20, 2, 2},
    };
    for (const Row& r : rows) {
        set_up(r.rows);
        EVAL.STANB = EVAL.STANC = 9;
        older::wstawstan(r.moves);
        EXPECT_EQ(EVAL.STANB, r.stanb) << r.what;
        EXPECT_EQ(EVAL.STANC, r.stanc) << r.what;
    }
}

TEST(OldEval, OpenFile) {
    struct Row {
        const char* what;
        std::string rows;
        int file;
        int open;
    } rows[] = {
        {"empty file", "....k..." "........" "........" "........" "........" "........" "........" "....K...", 4, 1},
        {"white pawn", "....k..." "........" "........" "........" "...P...." "........" "........" "....K...", 4, 0},
        {"black pawn on rank 7", "....k..." "...p...." "........" "........" "........" "........" "........" "....K...", 4, 0},
        {"pawn on rank 1 counts", "....k..." "........" "........" "........" "........" "........" "........" "...pK...", 4, 0},
        {"pawn on rank 8 does not", "...Pk..." "........" "........" "........" "........" "........" "........" "....K...", 4, 1},
        {"pieces do not close it", "...wk..." "...s...." "........" "........" "........" "........" "...G...." "...WK...", 4, 1},
        {"h-file", "....k..." "........" "........" "........" "........" "........" ".......P" "....K...", 8, 0},
    };
    for (const Row& r : rows) {
        set_up(r.rows);
        EXPECT_EQ(older::otwartalinia(POS.PL, r.file), r.open) << r.what;
    }
}

TEST(OldEval, TableLayoutAndSharing) {
    // A table is read at the square number: a1 = 11, h8 = 88, border 0.
    EXPECT_EQ(m28::WBDEB[11], -3);
    EXPECT_EQ(m28::WBDEB[18], -3);
    EXPECT_EQ(m28::WBDEB[88], 3);
    EXPECT_EQ(m28::KKONC[76], 0);   // f7
    EXPECT_EQ(m28::SSRODB[17], -6);  // g1
    EXPECT_EQ(m28::SSRODC[87], -6);  // g8
    for (int s : {0, 10, 19, 89, 99}) EXPECT_EQ(m28::GSROD[s], 0);
    // m26's single knight table holds m28's endgame knight values.
    EXPECT_EQ(m26::SSROD, m28::SKONC);
    // Shared tables are one object.
    EXPECT_EQ(&m26::PBSROD, &m28::PBSROD);
    EXPECT_EQ(&m26::KKONC, &m28::KKONC);
    // Wiring: a knight reads its build's table of each phase and colour.
    EXPECT_EQ(m28::TABLES.white[1].knight, m28::SSRODB.data());
    EXPECT_EQ(m28::TABLES.black[1].knight, m28::SSRODC.data());
    EXPECT_EQ(m28::TABLES.black[2].bishop, m28::GSROD.data());
    for (int p = 1; p <= 2; ++p) {
        EXPECT_EQ(m26::TABLES.white[p].knight, m26::SSROD.data());
        EXPECT_EQ(m26::TABLES.black[p].knight, m26::SSROD.data());
    }
}

// The evaluation keeps each piece's fixed terms in a byte: its table's
// value and at most 25 more or 5 less.  Every table of both builds stays
// where that cannot overflow.
TEST(OldEval, TablesLeaveRoomForTheKeptTerms) {
    for (const older::TableSet* set : {&m28::TABLES, &m26::TABLES}) {
        for (const older::PhaseTables* colour : {set->white, set->black}) {
            for (int phase = 0; phase < 3; ++phase) {
                const older::PhaseTables& t = colour[phase];
                for (const i8* table : {t.pawn, t.knight, t.bishop, t.rook, t.queen, t.king}) {
                    for (int s = 0; s < 100; ++s) {
                        EXPECT_GE(static_cast<int>(table[s]), -100) << "phase " << phase << " square " << s;
                        EXPECT_LE(static_cast<int>(table[s]), 100) << "phase " << phase << " square " << s;
                    }
                }
            }
        }
    }
}

}  // namespace
}  // namespace morvelak::test
