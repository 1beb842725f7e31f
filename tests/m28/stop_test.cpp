// The hash-table build stopped in the middle of its thinking ("?", the
// clock): the position comes back untouched, the move played is the best of
// the root moves searched to the end, or the first of the order the search
// started from, and the record gives the depth behind it.  Also the depth
// cap, analysis, and the start depth of every new game.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>

#include "driver/m28/computer_move.hpp"
#include "engine/search/control.hpp"
#include "engine/search/old/ordering.hpp"
#include "tests/common/stop_control.hpp"
#include "tests/m28/support.hpp"

namespace morvelak::m28test {
namespace {

using namespace morvelak::testing_stop;

constexpr const char* MIDDLE = "r1bqk2r/ppp2ppp/2n2n2/3pp3/1b1PP3/2N2N2/PPP2PPP/R1BQKB1R w KQkq - 0 5";
constexpr const char* MIDDLE_BLACK = "r1bqkb1r/pppp1ppp/2n2n2/4p3/2B1P3/5N2/PPPP1PPP/RNBQK2R b KQkq - 5 4";

bool position_is(const Snapshot& s) {
    return std::memcmp(PL, s.pl, 100) == 0 && std::memcmp(BP, s.bp, 32) == 0 &&
           std::memcmp(CP, s.cp, 32) == 0 && std::memcmp(WYJ, s.wyj, 4) == 0 && ILB == s.ilb &&
           ILC == s.ilc && KROLB == s.krolb && KROLC == s.krolc;
}

template <Side S>
int root(const Move* ru, int a, int n, int* best, int* finished) {
    begin_root(n);
    return search_root<S>(ru, a, n, best, finished);
}

// Stopped while it searches root move b, the root unwinds at once: no
// later move gets its progress line, the position is as before, the
// position table holds complete records only, and the result is what a
// search of the moves before the stop alone gives.
template <Side S>
void root_stopped_in(const char* fen, int b) {
    SCOPED_TRACE(testing::Message() << fen << " stopped in move " << b);
    constexpr int n = 6;
    set_up(fen, 4);
    const std::vector<Move> ru = legal_moves<S>();
    const int a = static_cast<int>(ru.size());
    const Snapshot before;
    Progress out;
    int best = 1, finished = -1, p;
    {
        StopWhen stop(at_root_move, b);
        p = root<S>(ru.data(), a, n, &best, &finished);
        ASSERT_TRUE(CONTROL.stopped);
        EXPECT_EQ(finished, CONTROL.moveIndex);  // the move under search counts for nothing
    }
    EXPECT_GE(finished, b);
    EXPECT_LT(finished, a);
    EXPECT_TRUE(position_is(before));
    const auto lines = out.lines();
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& l) { return l.find("!MORVELAK") == std::string::npos; }),
              finished + 1);
    const int records = HASHL;
    const std::vector<m28::record> table(HASH, HASH + records);

    // The records the stopped search closed are those a search that went on
    // to finish the stopped move closes first: nothing unfinished got in.
    set_up(fen, 4);
    int ignored = 0;
    root<S>(ru.data(), finished + 1, n, &ignored, nullptr);
    ASSERT_LE(records, HASHL);
    if (records > 0) {
        EXPECT_EQ(std::memcmp(table.data(), HASH, sizeof(m28::record) * records), 0);
    }

    if (finished == 0) {
        EXPECT_EQ(p, 0);
        EXPECT_EQ(best, 0);
        return;
    }
    set_up(fen, 4);
    int bestAlone = 0;
    EXPECT_EQ(p, root<S>(ru.data(), finished, n, &bestAlone, nullptr));
    EXPECT_EQ(best, bestAlone);
}

TEST(Stop, TheRootPlaysTheBestOfTheMovesSearchedToTheEnd) {
    for (int b : {0, 1, 4}) {
        root_stopped_in<Side::White>(MIDDLE, b);
        root_stopped_in<Side::Black>(MIDDLE_BLACK, b);
    }
}

// The killers as the search held them at one look, taken without stopping.
Move killersAtLook[2][KILLER_ROWS * KILLER_ROW];
bool keep_killers_at(int look, const SearchControl&, int k) {
    if (look == k) {
        std::memcpy(killersAtLook[0], KILB, sizeof KILB);
        std::memcpy(killersAtLook[1], KILC, sizeof KILC);
    }
    return false;
}

// Nothing the nodes see after the look that stops them reaches the killers:
// they stay what the same search held at that look.
TEST(Stop, TheKillersAreWhatTheSearchHeldAtTheStop) {
    Record rec;
    Progress out;
    char played[4];
    for (int k : {3, 12, 25}) {
        SCOPED_TRACE(testing::Message() << "stopped at look " << k);
        set_up(MIDDLE_BLACK, 0);
        TC = 12000;
        {
            StopWhen peek(keep_killers_at, k);
            CONTROL.depthCap = 7;
            ASSERT_TRUE(ruchkomputerczarne(played));
            ASSERT_GT(peek.looks(), k);
        }
        set_up(MIDDLE_BLACK, 0);
        TC = 12000;
        {
            StopWhen stop(at_look, k);
            CONTROL.depthCap = 7;
            ASSERT_TRUE(ruchkomputerczarne(played));
        }
        EXPECT_EQ(std::memcmp(killersAtLook[0], KILB, sizeof KILB), 0);
        EXPECT_EQ(std::memcmp(killersAtLook[1], KILC, sizeof KILC), 0);
    }
}

// The whole computer move, stopped in its pre-sort (the moves keep the
// order they had: the generator's, as the table knows nothing at the
// start), in the first root move (the pre-sort's first move, with the
// pre-sort's depth), and later (the search depth); "sd" lowers that depth.
TEST(Stop, TheRecordGivesTheDepthBehindTheMovePlayed) {
    struct Case {
        const char* name;
        StopWhen::Condition when;
        int arg;
        int cap;
    };
    const Case cases[] = {
        {"in the pre-sort", at_look, 1, 0},
        {"in the first root move", at_root_move, 0, 0},
        {"in the third root move", at_root_move, 2, 0},
        {"not at all, under sd 3", nullptr, 0, 3},
        {"not at all, under sd 1", nullptr, 0, 1},
    };
    constexpr int n = 9;  // the first move of a game with 2 minutes
    // The order the pre-sort gives.
    set_up(MIDDLE, 0);
    std::vector<Move> generated = legal_moves<Side::White>();
    std::vector<Move> presorted = generated;
    const int sortDepth = presort_root<Side::White>(presorted.data(), static_cast<int>(presorted.size()), 0, n);
    ASSERT_EQ(sortDepth, old::presort_depth(n));
    ASSERT_NE(presorted, generated);

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        set_up(MIDDLE, 0);
        TB = 12000;
        const Snapshot before;
        Record rec;
        Progress out;
        char played[5] = {};
        int stoppedIn = -1;
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
        const std::vector<Move> order(r.order, r.order + r.a);
        int depth = 0, score = 0;
        char move[5] = {};
        ASSERT_EQ(std::sscanf(rec.text().c_str(), "%d %4s %d", &depth, move, &score), 3);
        EXPECT_EQ(depth, r.depth);
        EXPECT_EQ(score, r.score);
        // The move is on the board, and nothing else changed.
        const std::vector<i8> after(PL, PL + 100);
        before.restore();
        EXPECT_EQ(after, board_after<Side::White>(r.order[r.chosen]));
        EXPECT_EQ(text<Side::White>(r.order[r.chosen]), std::string(move));

        if (c.when == at_look) {
            EXPECT_EQ(order, generated);
            EXPECT_EQ(r.chosen, 0);
            EXPECT_EQ(r.depth, 0);
            EXPECT_EQ(r.score, 0);
        } else if (c.when == at_root_move && c.arg == 0) {
            EXPECT_EQ(order, presorted);
            EXPECT_EQ(r.chosen, 0);
            EXPECT_EQ(r.depth, sortDepth);
            EXPECT_EQ(r.score, 0);
        } else if (c.when) {
            EXPECT_EQ(order, presorted);
            EXPECT_LT(r.chosen, stoppedIn);
            EXPECT_EQ(r.depth, n);
        } else {
            EXPECT_EQ(r.depth, std::max(c.cap, 2));
            // Too shallow for a pre-sort below it.
            EXPECT_EQ(order, generated);
        }
    }
}

// Analysis: depth 2, 3, ... with a line for every new best move, the score
// from the side to move, real nodes; nothing goes into the position table,
// and the position is as it was.
template <Side S>
void analysis_of(const char* fen) {
    SCOPED_TRACE(fen);
    set_up(fen, 4);
    HASHL = 7;  // what the game left
    HASH[3].ile = 5;
    const std::vector<m28::record> table(HASH, HASH + HASH_RECORDS);
    const Snapshot before;
    std::vector<std::string> legal;
    for (Move m : legal_moves<S>()) legal.push_back(text<S>(m));
    Progress out;
    {
        StopWhen stop(at_depth, 5);
        CONTROL.analysis = true;
        analyse_root<S>(old::MAX_DEPTH);
        EXPECT_TRUE(CONTROL.stopped);
    }
    EXPECT_TRUE(position_is(before));
    EXPECT_EQ(HASHL, 7);
    EXPECT_EQ(std::memcmp(table.data(), HASH, sizeof HASH), 0);
    int lastDepth = 2;
    unsigned long lastNodes = 0;
    std::set<int> depths;
    for (const std::string& l : out.lines()) {
        int depth = 0, score = 0, n = 0;
        long time = -1;
        unsigned long nodes = 0;
        char move[5] = {};
        ASSERT_EQ(std::sscanf(l.c_str(), "%d %d %ld %lu %4s%n", &depth, &score, &time, &nodes, move, &n), 5) << l;
        EXPECT_EQ(static_cast<std::size_t>(n), l.size()) << l;
        EXPECT_GE(depth, lastDepth) << l;
        EXPECT_GE(nodes, lastNodes) << l;
        EXPECT_GE(time, 0);
        EXPECT_NE(std::find(legal.begin(), legal.end(), move), legal.end()) << l;
        EXPECT_GT(score, 500) << "a queen up, seen from the side to move: " << l;
        lastDepth = depth;
        lastNodes = nodes;
        depths.insert(depth);
    }
    EXPECT_EQ(depths, (std::set<int>{2, 3, 4})) << "each depth completes with a line, and 5 is stopped";
    EXPECT_GT(lastNodes, 0u);
}

TEST(Analysis, DeepensWithALineForEachNewBestMoveAndLeavesTheTableToTheGame) {
    analysis_of<Side::White>("r1b1k2r/ppp2ppp/2n2n2/3pp3/1b1PP3/2N2N2/PPP2PPP/R1BQKB1R w KQkq - 0 5");
    analysis_of<Side::Black>("r1bqk2r/ppp2ppp/2n2n2/3pp3/1b1PP3/2N2N2/PPP2PPP/R1B1KB1R b KQkq - 0 5");
}

// A new game, however many moves were given before its first search, starts
// at the depth the clock gives; each colour's first search does.
TEST(NewGame, TheFirstSearchOfEachColourTakesTheStartDepth) {
    constexpr const char* BLOCKED_WHITE = "4k3/8/8/3p4/3P4/8/8/4K3 w - - 0 1";
    constexpr const char* BLOCKED_BLACK = "4k3/8/8/3p4/3P4/8/8/4K3 b - - 0 1";
    Record rec;
    Progress out;
    char played[4];
    new_game();
    set_up(BLOCKED_WHITE, 4);
    TB = 60001;
    ASSERT_TRUE(ruchkomputerbiale(played));
    EXPECT_EQ(last_root().depth, 11);
    set_up(BLOCKED_BLACK, 4);
    TC = 60001;
    ASSERT_TRUE(ruchkomputerczarne(played));
    EXPECT_EQ(last_root().depth, 11) << "White's first search took Black's fresh start";
    // Without a new game the depth carries over (11, adapted); with one the
    // clock decides again.
    new_game();
    set_up(BLOCKED_WHITE, 4);
    TB = 100;
    ASSERT_TRUE(ruchkomputerbiale(played));
    EXPECT_EQ(last_root().depth, 9);
}

}  // namespace
}  // namespace morvelak::m28test
