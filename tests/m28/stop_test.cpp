// m28 stopped in the middle of its thinking ("?", the
// clock): the position comes back untouched, the move played is the best of
// the root moves searched to the end, or the first of the order the search
// started from, and the record gives the depth behind it.  Also the depth
// cap, analysis, and the start depth of every new game.
#include <gtest/gtest.h>

#include <memory>

#include "driver/m28/computer_move.hpp"
#include "engine/search/older/ordering.hpp"
#include "tests/common/stop_control.hpp"
#include "tests/m28/support.hpp"

namespace morvelak::test {
namespace {

using namespace morvelak::test;

constexpr const char* MIDDLE = "r1bqk2r/ppp2ppp/2n2n2/3pp3/1b1PP3/2N2N2/PPP2PPP/R1BQKB1R w KQkq - 0 5";
constexpr const char* MIDDLE_BLACK = "r1bqkb1r/pppp1ppp/2n2n2/4p3/2B1P3/5N2/PPPP1PPP/RNBQK2R b KQkq - 5 4";

template <Side S>
int root(const std::vector<Move>& ru, int a, int* best, int* finished = nullptr) {
    begin_root(6);
    return search_root<S>(ru.data(), a, 6, older::czypotrojne, best, finished);
}

// Stopped while it searches root move b, the root unwinds at once: no later
// move gets its progress line, the position is as before, the table holds
// only records a search that went on would also have closed first, and the
// result is what a search of the moves finished before the stop alone gives.
template <Side S>
void root_stopped_in(const char* fen, int b) {
    SCOPED_TRACE(testing::Message() << fen << " stopped in move " << b);
    set_up(fen, 4);
    const std::vector<Move> ru = legal_moves<S>();
    const Position before = POS;
    Progress out;
    int best = 1, finished = -1, p;
    {
        StopWhen stop(at_root_move, b);
        p = root<S>(ru, static_cast<int>(ru.size()), &best, &finished);
        ASSERT_TRUE(CONTROL.stopped);
        EXPECT_EQ(finished, CONTROL.moveIndex);  // the move under search counts for nothing
    }
    EXPECT_GE(finished, b);
    EXPECT_TRUE(POS == before);
    const auto lines = out.lines();
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& l) { return l.find("!MORVELAK") == std::string::npos; }),
              finished + 1);
    const std::vector<m28::record> table(SEARCH.HASH, SEARCH.HASH + SEARCH.HASHL);

    set_up(fen, 4);
    int ignored = 0;
    root<S>(ru, finished + 1, &ignored);
    ASSERT_LE(table.size(), static_cast<std::size_t>(SEARCH.HASHL));
    for (std::size_t i = 0; i < table.size(); ++i)
        EXPECT_EQ(std::memcmp(&table[i], &SEARCH.HASH[i], sizeof(m28::record)), 0) << "record " << i;

    int alone = 0;
    set_up(fen, 4);
    if (finished > 0) {
        EXPECT_EQ(p, root<S>(ru, finished, &alone));
    } else {
        EXPECT_EQ(p, 0);  // the first move of the order, unscored
    }
    EXPECT_EQ(best, alone);
}

TEST(Stop, TheRootPlaysTheBestOfTheMovesSearchedToTheEnd) {
    for (int b : {0, 1, 4}) {
        root_stopped_in<Side::White>(MIDDLE, b);
        root_stopped_in<Side::Black>(MIDDLE_BLACK, b);
    }
}

// The whole computer move, stopped in its pre-sort (a two-ply sort orders
// the moves instead, and its first is played at depth 2), in the first root
// move (the pre-sort's first move, at the pre-sort's depth), and later (the
// search depth).  "sd" lowers the depth; below 4 there is no pre-sort.
TEST(Stop, TheRecordGivesTheDepthBehindTheMovePlayed) {
    constexpr int n = 9;  // the first move of a game with 2 minutes
    set_up(MIDDLE, 0);
    const std::vector<Move> generated = legal_moves<Side::White>();
    std::vector<Move> presorted = generated;
    const int sortDepth = presort_root<Side::White>(presorted.data(), static_cast<int>(presorted.size()), 0, n);
    ASSERT_EQ(sortDepth, older::presort_depth(n));

    std::vector<Move> sortedGenerated = generated;
    std::sort(sortedGenerated.begin(), sortedGenerated.end(),
              [](Move x, Move y) { return x.nr != y.nr ? x.nr < y.nr : x.x2 < y.x2; });
    const std::vector<Move> anyOrder;  // the generated moves, in the order of the two-ply sort

    const struct {
        StopWhen::Condition when;
        int arg, cap;
        const std::vector<Move>& order;
        int depth;
        bool first;  // the order's first move is played
    } cases[] = {
        {at_look, 4, 0, anyOrder, older::SHALLOW_SORT, true},
        {at_root_move, 0, 0, presorted, sortDepth, true},
        {at_root_move, 2, 0, presorted, n, false},
        {nullptr, 0, 3, generated, 3, false},
        {nullptr, 0, 1, generated, 2, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "case with depth " << c.depth);
        set_up(MIDDLE, 0);
        GAME.TB = 12000;
        const Position before = POS;
        Record rec;
        Progress out;
        char played[5] = {};
        int stoppedIn = 0;
        {
            std::unique_ptr<StopWhen> stop;
            if (c.when) stop = std::make_unique<StopWhen>(c.when, c.arg);
            CONTROL.depthCap = c.cap;
            ASSERT_TRUE(ruchkomputerbiale(played));
            EXPECT_EQ(CONTROL.stopped, c.when != nullptr);
            stoppedIn = CONTROL.moveIndex;
            CONTROL = SearchControl{};
        }
        const RootReport& r = last_root();
        std::vector<Move> order(r.order, r.order + r.a);
        if (&c.order == &anyOrder) {
            EXPECT_NE(order, generated) << "the two-ply sort reorders these moves";
            std::sort(order.begin(), order.end(),
                      [](Move x, Move y) { return x.nr != y.nr ? x.nr < y.nr : x.x2 < y.x2; });
            EXPECT_EQ(order, sortedGenerated);
        } else {
            EXPECT_EQ(order, c.order);
        }
        EXPECT_EQ(r.depth, c.depth);
        if (c.first) {
            EXPECT_EQ(r.chosen, 0);
            EXPECT_EQ(r.score, 0);
        } else if (c.when) {
            EXPECT_LT(r.chosen, stoppedIn);
        }
        EXPECT_EQ(rec.text().substr(0, 7), std::to_string(c.depth) + " " + played + " ");
        // The move is on the board, and nothing else changed.
        const Position after = POS;
        POS = before;
        EXPECT_EQ(std::vector<i8>(after.PL, after.PL + 100), board_after<Side::White>(r.order[r.chosen]));
    }
}

// Cut in its pre-sort by the clock or by "?", the engine does not play the
// generator's first move, a capture that loses the queen here, but the best
// of a two-ply sort; a search taken back plays nothing and sorts nothing.
TEST(Stop, APreSortCutShortStillGivesAMoveThatKeepsTheQueen) {
    constexpr const char* QUEEN_EN_PRISE = "4k3/8/4p3/3p4/8/3Q4/8/4K3 w - - 0 1";  // Qxd5?? exd5
    for (const StopReason why : {StopReason::Deadline, StopReason::MoveNow, StopReason::Withdraw}) {
        SCOPED_TRACE(static_cast<int>(why));
        set_up(QUEEN_EN_PRISE, 0);
        GAME.TB = 12000;
        ASSERT_EQ(text<Side::White>(legal_moves<Side::White>()[0]), "d3d5");
        const Position before = POS;
        Record rec;
        Progress out;
        char played[5] = {};
        bool moved = false;
        {
            StopWhen stop(at_look, 3, why);
            moved = ruchkomputerbiale(played);
            EXPECT_TRUE(CONTROL.stopped);
            EXPECT_EQ(CONTROL.reason, why);
        }
        if (why == StopReason::Withdraw) {
            EXPECT_FALSE(moved);
            EXPECT_TRUE(POS == before);
            continue;
        }
        ASSERT_TRUE(moved);
        EXPECT_NE(std::string(played), "d3d5");
        EXPECT_EQ(last_root().depth, older::SHALLOW_SORT);
    }
}

// Analysis: depth 2, 3, ... with a line for every new best move, the score
// from the side to move (a queen up here), real nodes; nothing goes into the
// position table, and the position is as it was.
template <Side S>
void analysis_of(const char* fen) {
    SCOPED_TRACE(fen);
    set_up(fen, 4);
    SEARCH.HASHL = 7;  // what the game left
    SEARCH.HASH[3].ile = 5;
    const std::vector<m28::record> table(SEARCH.HASH, SEARCH.HASH + HASH_RECORDS);
    const Position before = POS;
    std::vector<std::string> legal;
    for (Move m : legal_moves<S>()) legal.push_back(text<S>(m));
    Progress out;
    {
        StopWhen stop(at_depth, 5);
        CONTROL.analysis = true;
        analyse_root<S>(older::MAX_DEPTH, older::czypotrojne);
        EXPECT_TRUE(CONTROL.stopped);
    }
    EXPECT_TRUE(POS == before);
    EXPECT_EQ(SEARCH.HASHL, 7);
    EXPECT_EQ(std::memcmp(table.data(), SEARCH.HASH, sizeof SEARCH.HASH), 0);
    expect_analysis_lines(contents(out.file), legal, 500);
}

TEST(Analysis, DeepensWithALineForEachNewBestMoveAndLeavesTheTableToTheGame) {
    analysis_of<Side::White>("r1b1k2r/ppp2ppp/2n2n2/3pp3/1b1PP3/2N2N2/PPP2PPP/R1BQKB1R w KQkq - 0 5");
    analysis_of<Side::Black>("r1bqk2r/ppp2ppp/2n2n2/3pp3/1b1PP3/2N2N2/PPP2PPP/R1B1KB1R b KQkq - 0 5");
}

// A new game, however many moves were given before its first search, starts
// at the depth the clock gives; each colour's first search does.
TEST(NewGame, TheFirstSearchOfEachColourTakesTheStartDepth) {
    constexpr const char* BLOCKED = "4k3/8/8/3p4/3P4/8/8/4K3 w - - 0 1";
    Record rec;
    Progress out;
    char played[4];
    new_game();
    set_up(BLOCKED, 4);
    GAME.TB = GAME.TC = 60001;
    ASSERT_TRUE(ruchkomputerbiale(played));
    EXPECT_EQ(last_root().depth, 11);
    ASSERT_TRUE(ruchkomputerczarne(played));
    EXPECT_EQ(last_root().depth, 11) << "White's first search took Black's fresh start";
    // Without a new game the depth carries over (11, adapted); with one the
    // clock decides again.
    new_game();
    set_up(BLOCKED, 4);
    GAME.TB = 100;
    ASSERT_TRUE(ruchkomputerbiale(played));
    EXPECT_EQ(last_root().depth, 9);
}

}  // namespace
}  // namespace morvelak::test
