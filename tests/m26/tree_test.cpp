// The tree of the root as a real search fills it: three levels (root moves,
// the replies to each, the engine's moves after each reply), the counts left
// by cut-offs, the values passed up through the levels, every node freed,
// the tables read out of it, and the node's 120-move bound.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "engine/position/attackmap.hpp"
#include "tests/m26/support.hpp"

namespace morvelak::test {
namespace {

using m26::korzen;
using m26::wezel;
using m26::NODE_MOVES;

// Number of moves the search generates for side S here (four plies and more
// from the horizon: with the opponent's attack map), -1 when the opponent's
// king hangs.
template <Side S> int node_moves() {
    constexpr Side T = Opp<S>;
    i8 si[MAP_SQUARES];
    siatka<T>(POS.PL, si, own_list<T>());
    Move quiet[MAX_MOVES], caps[MAX_MOVES];
    int aa = 0;
    const int nq = ruchy<S>(POS.PL, own_list<S>(), quiet, caps, POS.WYJ, &aa, si);
    return nq < 0 ? -1 : nq + aa;
}

// Checks the tree of a White root searched to depth n >= 5: the reply nodes
// (Black to move) and the nodes of White's next moves below them.  Counts the
// nodes of the second and third level that a cut-off ended early.
struct Cuts {
    int second = 0;
    int third = 0;
};
void check_three_levels(const Move* ru, int a, Cuts& cuts) {
    const wezel& root = korzen<Side::White>();
    ASSERT_EQ(root.ile1, std::min(a, NODE_MOVES));
    int best = -12000;  // the root's alfa before each move
    for (int b = 0; b < std::min(a, NODE_MOVES); ++b) {
        SCOPED_TRACE("root move " + text<Side::White>(ru[b]));
        ASSERT_EQ(root.ruch[b], ru[b]);
        const wezel* replies = root.nast[b];
        ASSERT_NE(replies, nullptr);
        const int value = root.wart[b];
        // The window the reply node was searched with: open for the first
        // move, a null window above the best for the others (a re-search
        // has an open upper end, which only loosens the checks below).
        const int alfa = best;
        const int beta = b == 0 ? 12000 : best + 1;

        i8 zap[8] = {};
        zrobruch<Side::White>(zap, ru[b].nr, ru[b].x2);
        const int count = node_moves<Side::Black>();
        const int n1 = replies->ile1;
        ASSERT_LE(n1, count);
        if (n1 == 0) {
            // Only a null move ends a reply node before its loop, at the
            // bound: never with the open window of the first move.
            EXPECT_GT(b, 0);
            EXPECT_EQ(value, alfa);
        } else {
            std::set<int> seen;
            int low = 32000;
            int beta_r = beta;  // the reply node's beta before reply r
            for (int r = 0; r < n1; ++r) {
                const Move m = replies->ruch[r];
                EXPECT_TRUE(seen.insert(256 * m.nr + m.x2).second);
                low = std::min(low, replies->wart[r]);

                const wezel* next = replies->nast[r];
                ASSERT_NE(next, nullptr);
                i8 z2[8] = {};
                zrobruch<Side::Black>(z2, m.nr, m.x2);
                const int count2 = node_moves<Side::White>();
                const int n2 = next->ile1;
                if (n2 == 0) {
                    // Null move (fails at the bound) or an illegal reply.
                    EXPECT_TRUE(replies->wart[r] >= beta_r || count2 < 0) << replies->wart[r];
                } else {
                    ASSERT_LE(n2, std::min(count2, NODE_MOVES));
                    int high = -32000;
                    for (int k = 0; k < n2; ++k) {
                        high = std::max(high, next->wart[k]);
                        EXPECT_EQ(next->nast[k], nullptr);  // nothing below the third level
                    }
                    // White's best, or the refutation that cut the loop short.
                    EXPECT_EQ(replies->wart[r], high);
                    if (n2 < count2) {
                        EXPECT_GE(high, beta_r);
                        ++cuts.third;
                    }
                }
                skasujruch<Side::Black>(z2, m.nr, m.x2);
                beta_r = std::min(beta_r, replies->wart[r]);
            }
            // Black's best, or the refutation that cut the loop short.
            EXPECT_EQ(value, low);
            if (n1 < count) {
                EXPECT_LE(low, alfa);
                ++cuts.second;
            }
            if (b == 0) {
                EXPECT_EQ(n1, count);  // nothing cuts the open window
            }
        }
        skasujruch<Side::White>(zap, ru[b].nr, ru[b].x2);
        best = std::max(best, value);
    }
}

TEST(Tree, ARealSearchFillsThreeLevelsWithTheCountsItsCutOffsLeave) {
    for (const char* fen : {
             "r1bq1rk1/2p1bppp/p1np1n2/1p2p3/4P3/1BPP1N2/PP3PPP/RNBQR1K1 w - - 0 9",
             "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
         }) {
        SCOPED_TRACE(fen);
        set_up(fen, 25);
        const long before = live_blocks();
        Move ru[MAX_MOVES];
        int a = 0;
        search<Side::White>(ru, a, 5);
        // One node per root move, one per reply searched.
        long nodes = 0;
        for (int b = 0; b < a; ++b) nodes += 1 + korzen<Side::White>().nast[b]->ile1;
        EXPECT_EQ(live_blocks() - before, nodes);
        Cuts cuts;
        check_three_levels(ru, a, cuts);
        EXPECT_GT(cuts.second, 0);
        EXPECT_GT(cuts.third, 0);
        korzen<Side::White>().zwolnij();
        EXPECT_EQ(live_blocks(), before);
    }
}

// After the move is made the tree is sorted and read out: the replies to the
// move played, best for the opponent first, and under each the engine's
// moves, best first, all by squares; then every node is gone.
TEST(Tree, TheRepliesToTheMovePlayedAreKeptBySquaresAndTheTreeFreed) {
    set_up("r1bq1rk1/2p1bppp/p1np1n2/1p2p3/4P3/1BPP1N2/PP3PPP/RNBQR1K1 w - - 0 9", 25);
    const long before = live_blocks();
    Move ru[MAX_MOVES];
    int a = 0;
    const m26::RootResult r = search<Side::White>(ru, a, 5);
    const Move played = ru[r.p];
    i8 zap[8] = {};
    zrobruch<Side::White>(zap, played.nr, played.x2);

    // What the tables must hold, read from the tree before it goes.
    wezel& root = korzen<Side::White>();
    root.posortuj("b");
    ASSERT_EQ(root.ruch[0], played);
    EXPECT_EQ(root.wart[0], r.f);
    const wezel& replies = *root.nast[0];
    // Fixed arrays, so that the test itself allocates nothing meanwhile.
    static m26::ReplyTables expected;
    expected.clear();
    for (int b = 0; b < replies.ile1; ++b) {
        if (b > 0) {
            EXPECT_LE(replies.wart[b - 1], replies.wart[b]);
        }
        expected.tablica1[b] = {static_cast<i8>(origin_of<Side::Black>(replies.ruch[b])), replies.ruch[b].x2};
        const wezel& next = *replies.nast[b];
        for (int k = 0; k < next.ile1; ++k) {
            if (k > 0) {
                EXPECT_GE(next.wart[k - 1], next.wart[k]);
            }
            expected.tablica2[b][k] = {static_cast<i8>(origin_of<Side::White>(next.ruch[k])), next.ruch[k].x2};
        }
    }
    ASSERT_GT(replies.ile1, 1);

    m26::keep_replies<Side::White>(played);
    EXPECT_EQ(live_blocks(), before);
    for (wezel* c : root.nast) EXPECT_EQ(c, nullptr);
    const m26::ReplyTables& t = m26::tables<Side::White>();
    for (int b = 0; b < NODE_MOVES; ++b) {
        ASSERT_EQ(t.tablica1[b], expected.tablica1[b]) << b;
        for (int k = 0; k < NODE_MOVES; ++k) ASSERT_EQ(t.tablica2[b][k], expected.tablica2[b][k]) << b << " " << k;
    }
    EXPECT_NE(t.tablica2[0][0].from, 0);
}

// More moves than a node holds, at the root and at the third level: the
// first 120 are recorded, the rest searched all the same; nothing is written
// past the node (AddressSanitizer) and everything is freed.
TEST(Tree, ANodeRecordsAtMostItsHundredTwentyMoves) {
    set_up("k7/6p1/7Q/4Q3/2Q5/1Q4Q1/3Q3Q/K7 w - - 0 1", 25);
    Move ru[MAX_MOVES];
    ASSERT_GT(m26::generate_root_moves<Side::White>(ru), NODE_MOVES);
    const long before = live_blocks();
    int a = 0;
    const m26::RootResult r = search<Side::White>(ru, a, 5);
    EXPECT_GT(r.f, 10000);  // mate is near
    const wezel& root = korzen<Side::White>();
    EXPECT_EQ(root.ile1, NODE_MOVES);
    bool fullThirdLevel = false;
    for (int b = 0; b < NODE_MOVES; ++b)
        for (int k = 0; k < root.nast[b]->ile1; ++k) {
            EXPECT_LE(root.nast[b]->nast[k]->ile1, NODE_MOVES);
            fullThirdLevel = fullThirdLevel || root.nast[b]->nast[k]->ile1 == NODE_MOVES;
        }
    EXPECT_TRUE(fullThirdLevel);
    i8 zap[8] = {};
    zrobruch<Side::White>(zap, ru[r.p].nr, ru[r.p].x2);
    m26::keep_replies<Side::White>(ru[r.p]);
    EXPECT_EQ(live_blocks(), before);
}

// The computer move as a whole leaves no node behind, for either colour, on
// the search path and on the forced-move path.
TEST(Tree, TheComputerMoveFreesEveryNode) {
    struct Case {
        const char* fen;
        bool forced;
    };
    for (const Case& c : {Case{"r1bq1rk1/2p1bppp/p1np1n2/1p2p3/4P3/1BPP1N2/PP3PPP/RNBQR1K1 w - - 0 9", false},
                          Case{"rnbqkb1r/pp2pppp/3p1n2/8/3NP3/2N5/PPP2PPP/R1BQKB1R b KQkq - 2 5", false},
                          Case{"1r5k/8/8/8/7p/p7/P6P/K7 w - - 0 1", true}}) {
        SCOPED_TRACE(c.fen);
        const Side s = set_up(c.fen, 0);
        GAME.TB = GAME.TC = 50;  // a short clock: depth stays where it is
        const long before = live_blocks();
        std::string move;
        bool moved = false;
        const std::string rec = s == Side::White ? computer_move<Side::White>(move, moved)
                                                 : computer_move<Side::Black>(move, moved);
        EXPECT_TRUE(moved);
        EXPECT_EQ(live_blocks(), before) << rec;
        // The forced move is not searched: depth 0 in the record.
        EXPECT_EQ(rec.substr(0, 2) == "0 ", c.forced) << rec;
    }
}

}  // namespace
}  // namespace morvelak::test
