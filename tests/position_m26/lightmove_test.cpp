// The light make/unmake against the full pair.
#include "engine/position/occupancy.hpp"
#include "engine/search/m26/lightmove.hpp"
#include "tests/position_m26/support.hpp"

namespace morvelak::test {
namespace {

template <Side S> int light_make(i8* z, Move m) { return m26::makemove<S>(z, m.nr, m.x2); }
template <Side S> void light_unmake(const i8* z, Move m) { m26::unmakemove<S>(z, m.nr, m.x2); }

struct Tally {
    int moves = 0, captures = 0, enPassant = 0, promotions = 0, doubleSteps = 0;
};

// Every ordinary pseudo-legal move of the side to move: the light make gives
// the full make's result and position and the same first four record bytes,
// the two en-passant bytes saved at 4 and 5, from which the occupancy after
// the move follows as from the full record; the light unmake restores the
// position exactly.
template <Side S> void compare_all(Tally& tally) {
    using O = Own<S>;
    Move ru[MAX_MOVES], bi[MAX_MOVES];
    int nb = 0;
    const int nq = superruchy<S, false>(POS.PL, own_list<S>(), ru, bi, POS.WYJ, &nb);
    ASSERT_GE(nq, 0);
    for (int k = 0; k < nq; ++k) bi[nb + k] = ru[k];
    const Snapshot before = Snapshot::take();
    const Occupancy occupied = occupancy_of(POS.PL);
    for (int b = 0; b < nb + nq; ++b) {
        const Move m = bi[b];
        i8 full[8], light[m26::LIGHT_RECORD];
        const int fullResult = zrobruch<S>(full, m.nr, m.x2);
        const Snapshot afterFull = Snapshot::take();
        skasujruch<S>(full, m.nr, m.x2);
        ASSERT_EQ(Snapshot::take(), before);

        const int lightResult = light_make<S>(light, m);
        ASSERT_EQ(lightResult, fullResult) << text<S>(m);
        ASSERT_EQ(Snapshot::take(), afterFull) << text<S>(m);
        for (int i = 0; i < 4; ++i) ASSERT_EQ(light[i], full[i]) << text<S>(m) << " byte " << i;
        ASSERT_EQ(light[4], before.wyj[2]);
        ASSERT_EQ(light[5], before.wyj[3]);
        ASSERT_EQ(occupancy_after<S>(occupied, m, light, POS.PL), occupancy_of(POS.PL)) << text<S>(m);
        light_unmake<S>(light, m);
        ASSERT_EQ(Snapshot::take(), before) << text<S>(m);

        ++tally.moves;
        if (full[3] != -1) ++tally.captures;
        if (full[3] != -1 && full[2] == 0) ++tally.enPassant;
        if (full[0] == O::pawn && m.x2 / 10 == O::lastRank) ++tally.promotions;
        if (afterFull.wyj[5 - O::epSlot] != 0) ++tally.doubleSteps;
    }
}

TEST(LightMove, MatchesTheFullMakeOnEveryOrdinaryMove) {
    Tally tally;
    for (const Sample& s : game_positions(5, 50)) {
        s.position.restore();
        if (s.toMove == Side::White) compare_all<Side::White>(tally);
        else compare_all<Side::Black>(tally);
        if (HasFatalFailure()) return;
    }
    EXPECT_GT(tally.moves, 40000);
    EXPECT_GT(tally.captures, 2000);
    EXPECT_GT(tally.enPassant, 5);
    EXPECT_GT(tally.promotions, 50);
    EXPECT_GT(tally.doubleSteps, 1000);
}

// The record of single moves, byte by byte, with the material results.
TEST(LightMove, RecordsAndResultsOfTheSpecialMoves) {
    // En passant by White: e5xd6, the black pawn d5 goes.  The castling
    // rights are not the light pair's business and stay as they are.
    set_up("....k..w" "........" "........" "...pP..." "........" "........" "........" "....K...",
           "0 1 0 64");
    const Snapshot before = Snapshot::take();
    const int e5 = 0;  // White's list: the pawn e5 comes first (rank 5)
    ASSERT_EQ(POS.BP[2 * e5 + 1], sq("e5"));
    i8 z[m26::LIGHT_RECORD];
    EXPECT_EQ(m26::makemove<Side::White>(z, e5, sq("d6")), 100);
    EXPECT_EQ(z[0], W_PAWN);
    EXPECT_EQ(z[1], sq("e5"));
    EXPECT_EQ(z[2], 0);
    ASSERT_GE(z[3], 0);
    EXPECT_EQ(before.cp[2 * z[3] + 1], sq("d5"));
    EXPECT_EQ(POS.CP[2 * z[3]], 0);
    EXPECT_EQ(z[4], 0);
    EXPECT_EQ(z[5], sq("d6"));
    EXPECT_EQ(POS.PL[sq("d5")], 0);
    EXPECT_EQ(POS.PL[sq("d6")], W_PAWN);
    EXPECT_EQ(POS.WYJ[3], 0);
    EXPECT_EQ(POS.WYJ[1], 1);
    m26::unmakemove<Side::White>(z, e5, sq("d6"));
    EXPECT_EQ(Snapshot::take(), before);

    // Promotion with capture by Black: b2xa1=Q, worth -800 plus the rook.
    set_up("....k..." "........" "........" "........" "........" "........" ".p......" "W...K...");
    const Snapshot start = Snapshot::take();
    int pawn = -1;
    for (int i = 0; i < POS.ILC; ++i)
        if (POS.CP[2 * i + 1] == sq("b2")) pawn = i;
    ASSERT_GE(pawn, 0);
    const int rookValue = POS.WART[W_ROOK];
    EXPECT_EQ(m26::makemove<Side::Black>(z, pawn, sq("a1")), -800 - rookValue);
    EXPECT_EQ(POS.PL[sq("a1")], B_QUEEN);
    EXPECT_EQ(POS.CP[2 * pawn], B_QUEEN);
    EXPECT_EQ(z[0], B_PAWN);
    EXPECT_EQ(z[2], W_ROOK);
    m26::unmakemove<Side::Black>(z, pawn, sq("a1"));
    EXPECT_EQ(Snapshot::take(), start);

    // A double step by Black sets White's en-passant square; a later White
    // move clears it and unmaking that move brings it back.
    set_up("....k..." "...p...." "........" "....P..." "........" "........" "........" "....K...");
    int d7 = -1;
    for (int i = 0; i < POS.ILC; ++i)
        if (POS.CP[2 * i + 1] == sq("d7")) d7 = i;
    ASSERT_GE(d7, 0);
    i8 zc[m26::LIGHT_RECORD], zb[m26::LIGHT_RECORD];
    EXPECT_EQ(m26::makemove<Side::Black>(zc, d7, sq("d5")), 0);
    EXPECT_EQ(POS.WYJ[3], sq("d6"));
    EXPECT_EQ(m26::makemove<Side::White>(zb, POS.KROLB, sq("e2")), 0);
    EXPECT_EQ(POS.WYJ[3], 0);
    m26::unmakemove<Side::White>(zb, POS.KROLB, sq("e2"));
    EXPECT_EQ(POS.WYJ[3], sq("d6"));
    m26::unmakemove<Side::Black>(zc, d7, sq("d5"));
    EXPECT_EQ(POS.WYJ[3], 0);
}

}  // namespace
}  // namespace morvelak::test
