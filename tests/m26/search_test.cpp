// Rules of m26's search node: a king boxed in by the attack
// map, the plain generator near the horizon, the null move that fails at the
// bound itself, the killers it keeps, and a search that repeats itself.
#include <gtest/gtest.h>

#include "engine/position/material.hpp"
#include "tests/m26/support.hpp"

namespace morvelak::test {
namespace {

int search_white(int ply, int alfa, int beta) {
    i8 path[older::PATH_BYTES] = {};
    m26::SEARCH.PLY = static_cast<i8>(ply);
    return m26::OBLICZB(ply, OCENAMAT(POS.PL, 100), alfa, beta, 0, path, nullptr, 0);
}

// Four plies and more from the horizon a side without a move is mated when
// the map marks its king, stalemated otherwise; nearer the horizon the plain
// generator lets the king step into the attack, the king capture follows,
// and a stalemate scores as a mate there.
TEST(Node, NoMoveByTheMapIsMateOrStalemateButNotNearTheHorizon) {
    struct Case {
        const char* fen;
        int ply;
        int value;
    };
    for (const Case& c : {
             Case{"8/8/8/8/8/6k1/6q1/7K w - - 0 1", 4, -10004},  // mated
             Case{"8/8/8/8/8/6k1/5q2/7K w - - 0 1", 4, 0},       // stalemated
             Case{"8/8/8/8/8/6k1/5q2/7K w - - 0 1", 5, 0},
             Case{"8/8/8/8/8/6k1/5q2/7K w - - 0 1", 3, -10002},  // every step loses the king
             Case{"8/8/8/8/8/6k1/6q1/7K w - - 0 1", 3, -10002},
         }) {
        SCOPED_TRACE(std::string(c.fen) + " ply " + std::to_string(c.ply));
        set_up(c.fen, 25);
        EXPECT_EQ(search_white(c.ply, -12000, 12000), c.value);
    }
}

// A side far ahead may pass: when the other side's shallow search cannot
// reach the bound, the node fails at the bound itself, not at the value the
// test found.  Not when the bound is beyond what the side's lead can make up.
TEST(Node, TheNullMoveFailsAtTheBound) {
    set_up("4k3/8/8/8/8/8/8/3QK3 w - - 0 1", 25);  // a queen up
    m26::clear_counters();
    EXPECT_EQ(search_white(4, 0, 100), 100);
    EXPECT_EQ(m26::SEARCH.LA, 1u);  // the pass is searched with pusty = 1: no pass below it
    EXPECT_EQ(m26::SEARCH.LB, 1u);
    EXPECT_EQ(m26::SEARCH.L1[4], 0u);  // the node never reached its move loop

    // Out of reach of the queen's worth: the node searches its moves, and
    // Black's passes below it fail low at alfa itself.
    m26::clear_counters();
    EXPECT_EQ(search_white(4, 2000, 2100), 2000);
    EXPECT_EQ(m26::SEARCH.L1[4], 1u);
}

// The statistics: nodes and moves per remaining depth, the last ply at 1;
// every move taken up by a loop is also in L.
TEST(Node, TheCountersFollowTheDepths) {
    set_up("r1bq1rk1/2p1bppp/p1np1n2/1p2p3/4P3/1BPP1N2/PP3PPP/RNBQR1K1 w - - 0 9", 25);
    m26::clear_counters();
    search_white(5, -12000, 12000);
    EXPECT_EQ(m26::SEARCH.L1[5], 1u);
    u32 moves = 0;
    for (int p = 1; p <= 5; ++p) {
        EXPECT_GT(m26::SEARCH.L1[p], 0u) << p;
        EXPECT_GE(m26::SEARCH.L2[p], m26::SEARCH.L1[p]) << p;
        moves += m26::SEARCH.L2[p];
    }
    for (int p = 6; p < m26::DEPTH_SLOTS; ++p) EXPECT_EQ(m26::SEARCH.L1[p] + m26::SEARCH.L2[p], 0u) << p;
    EXPECT_GT(m26::SEARCH.L, moves);  // the capture estimates count too
}

// Refutations become killers of their depth, except the captures that the
// attack-map sort put first four to six plies from the horizon; rows beyond
// the search stay untouched.
TEST(Node, RefutationsBecomeKillersOfTheirDepth) {
    set_up("r1bq1rk1/2p1bppp/p1np1n2/1p2p3/4P3/1BPP1N2/PP3PPP/RNBQR1K1 w - - 0 9", 25);
    search_white(7, -12000, 12000);
    auto row_used = [](const Move* store, int ply) {
        for (int k = 0; k < KILLER_ROW; ++k)
            if (!(store[KILLER_ROW * ply + k] == Move{0, 0})) return true;
        return false;
    };
    bool some = false;
    for (int p = 2; p <= 7; ++p) some = some || row_used(m26::SEARCH.KILB, p) || row_used(m26::SEARCH.KILC, p);
    EXPECT_TRUE(some);
    for (int p = 8; p < KILLER_ROWS; ++p) {
        EXPECT_FALSE(row_used(m26::SEARCH.KILB, p)) << p;
        EXPECT_FALSE(row_used(m26::SEARCH.KILC, p)) << p;
    }
    // Depth 7 and above keep three killers, depth 6 sixteen.
    for (int k = 3; k < KILLER_ROW; ++k) {
        EXPECT_EQ(m26::SEARCH.KILB[KILLER_ROW * 7 + k], (Move{0, 0}));
        EXPECT_EQ(m26::SEARCH.KILC[KILLER_ROW * 7 + k], (Move{0, 0}));
    }
    for (int k = 16; k < KILLER_ROW; ++k) EXPECT_EQ(m26::SEARCH.KILC[KILLER_ROW * 6 + k], (Move{0, 0}));
}

// From the same state the same position gives the same move, value and node
// count, for either colour; so does the computer move of a new game.
TEST(Search, SearchesRepeatThemselves) {
    for (const char* fen : {"r1bq1rk1/2p1bppp/p1np1n2/1p2p3/4P3/1BPP1N2/PP3PPP/RNBQR1K1 w - - 0 9",
                            "rnbqkb1r/pp2pppp/3p1n2/8/3NP3/2N5/PPP2PPP/R1BQKB1R b KQkq - 2 5"}) {
        SCOPED_TRACE(fen);
        std::string moves[2];
        int values[2] = {};
        u32 nodes[2] = {};
        for (int run = 0; run < 2; ++run) {
            const Side s = set_up(fen, 0);
            Move ru[MAX_MOVES];
            int a = 0;
            if (s == Side::White) {
                const m26::RootResult r = search<Side::White>(ru, a, 6);
                moves[run] = text<Side::White>(ru[r.p]);
                values[run] = r.f;
                m26::korzen<Side::White>().zwolnij();
            } else {
                const m26::RootResult r = search<Side::Black>(ru, a, 6);
                moves[run] = text<Side::Black>(ru[r.p]);
                values[run] = r.f;
                m26::korzen<Side::Black>().zwolnij();
            }
            nodes[run] = m26::SEARCH.L;
        }
        EXPECT_EQ(moves[0], moves[1]);
        EXPECT_EQ(values[0], values[1]);
        EXPECT_EQ(nodes[0], nodes[1]);
        EXPECT_GT(nodes[0], 1000u);
    }
}

}  // namespace
}  // namespace morvelak::test
