// The tree-node build stopped in the middle of its thinking ("?", the
// clock): the position comes back untouched, every tree node is freed, the
// tree keeps only root moves searched to the end, the move played is the
// best of them or the first of the order the search started from, and the
// record gives the depth behind it.  Also the depth cap, analysis, and the
// start depth of every new game.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>

#include "engine/search/control.hpp"
#include "tests/common/stop_control.hpp"
#include "tests/m26/support.hpp"

namespace morvelak::test26 {
namespace {

using namespace morvelak::testing_stop;
using m26::korzen;
using m26::tables;

constexpr const char* MIDDLE_WHITE = "r1bq1rk1/2p1bppp/p1np1n2/1p2p3/4P3/1BPP1N2/PP3PPP/RNBQR1K1 w - - 0 9";
constexpr const char* MIDDLE_BLACK = "rnbqkb1r/pp2pppp/3p1n2/8/3NP3/2N5/PPP2PPP/R1BQKB1R b KQkq - 2 5";

// Everything of the position.
struct Position {
    i8 pl[100], bp[32], cp[32], wyj[4], ilb, ilc, krolb, krolc;
    Position() {
        std::memcpy(pl, PL, 100);
        std::memcpy(bp, BP, 32);
        std::memcpy(cp, CP, 32);
        std::memcpy(wyj, WYJ, 4);
        ilb = ILB; ilc = ILC; krolb = KROLB; krolc = KROLC;
    }
    void restore() const {
        std::memcpy(PL, pl, 100);
        std::memcpy(BP, bp, 32);
        std::memcpy(CP, cp, 32);
        std::memcpy(WYJ, wyj, 4);
        ILB = ilb; ILC = ilc; KROLB = krolb; KROLC = krolc;
    }
    bool now() const {
        return std::memcmp(PL, pl, 100) == 0 && std::memcmp(BP, bp, 32) == 0 && std::memcmp(CP, cp, 32) == 0 &&
               std::memcmp(WYJ, wyj, 4) == 0 && ILB == ilb && ILC == ilc && KROLB == krolb && KROLC == krolc;
    }
};

// The computer move of side S (the record to a scratch file): its record
// text and move text, and how many heap blocks it left alive.
template <Side S> std::string move_leaving(std::string& move, bool& moved, long& leftAlive) {
    std::FILE* rec = std::tmpfile();
    zapisparti = rec;
    char m[4] = {};
    const long blocks = live_blocks();
    moved = S == Side::White ? m26::ruchkomputerbiale(m) : m26::ruchkomputerczarne(m);
    leftAlive = live_blocks() - blocks;
    move.assign(m, 4);
    std::fflush(rec);
    std::rewind(rec);
    std::string out;
    for (int c; (c = std::fgetc(rec)) != EOF;) out.push_back(static_cast<char>(c));
    zapisparti = nullptr;
    std::fclose(rec);
    return out;
}

template <Side S> m26::RootResult root(Move* ru, int a, int n) {
    korzen<S>().inic();
    m26::clear_counters();
    return m26::search_root<S>(ru, a, n);
}

// Stopped while it searches root move b: the position is as before, the
// root node holds the moves before b with their subtrees and nothing after,
// all of which is what a search of those moves alone gives, and freeing the
// root frees every node made.
template <Side S>
void root_stopped_in(const char* fen, int b) {
    SCOPED_TRACE(testing::Message() << fen << " stopped in move " << b);
    constexpr int n = 6;
    set_up(fen, 4);
    std::vector<int> values, replies;
    values.reserve(MAX_MOVES);
    replies.reserve(MAX_MOVES);
    const long blocks = live_blocks();
    Move ru[MAX_MOVES];
    const int a = m26::generate_root_moves<S>(ru);
    const Position before;
    m26::RootResult r{};
    {
        StopWhen stop(at_root_move, b);
        r = root<S>(ru, a, n);
        ASSERT_TRUE(CONTROL.stopped);
        EXPECT_EQ(r.finished, CONTROL.moveIndex);  // the move under search counts for nothing
    }
    EXPECT_GE(r.finished, b);
    EXPECT_TRUE(before.now());
    const m26::wezel& tree = korzen<S>();
    ASSERT_EQ(tree.ile1, r.finished);
    for (int k = 0; k < std::min(a, m26::NODE_MOVES); ++k) EXPECT_EQ(tree.nast[k] != nullptr, k < r.finished) << k;
    values.assign(tree.wart, tree.wart + r.finished);
    for (int k = 0; k < r.finished; ++k) replies.push_back(tree.nast[k]->ile1);
    korzen<S>().zwolnij();
    EXPECT_EQ(live_blocks(), blocks);

    if (r.finished == 0) {
        EXPECT_EQ(r.p, 0);
        EXPECT_EQ(r.f, 0);
        return;
    }
    set_up(fen, 4);
    const m26::RootResult alone = root<S>(ru, r.finished, n);
    EXPECT_EQ(r.p, alone.p);
    EXPECT_EQ(r.f, alone.f);
    EXPECT_EQ(values, std::vector<int>(tree.wart, tree.wart + r.finished));
    for (int k = 0; k < r.finished; ++k) EXPECT_EQ(replies[k], tree.nast[k]->ile1) << k;
    korzen<S>().zwolnij();
}

TEST(Stop, TheRootKeepsTheMovesSearchedToTheEndAndFreesTheRest) {
    for (int b : {0, 2}) {
        root_stopped_in<Side::White>(MIDDLE_WHITE, b);
        root_stopped_in<Side::Black>(MIDDLE_BLACK, b);
    }
}

// Wherever the stop falls (in the pre-sort, in the first root move, in a
// later one, deep or shallow in the tree: at every look of the first ten,
// then at every fourth),
// the computer move plays, frees every node, and either keeps the
// expectations of the moves it finished or clears the tables.
TEST(Stop, WhereverTheStopFallsEveryNodeIsFreed) {
    constexpr int n = 7;  // the first move of a game with 5 seconds
    std::set<int> depths;
    int k = 1;
    for (bool stopped = true; stopped && k < 1000; k += k < 10 ? 1 : 4) {
        SCOPED_TRACE(testing::Message() << "stopped at look " << k);
        set_up(MIDDLE_WHITE, 0);
        TB = 50;
        tables<Side::White>().tablica1[0] = m26::SquareMove{11, 21};  // left by the last move
        std::string move, rec;
        bool moved = false;
        long leftAlive = -1;
        {
            StopWhen stop(at_look, k);
            rec = move_leaving<Side::White>(move, moved, leftAlive);
            stopped = CONTROL.stopped;
        }
        ASSERT_TRUE(moved);
        EXPECT_EQ(leftAlive, 0);
        int depth = -1;
        ASSERT_EQ(std::sscanf(rec.c_str(), "%d", &depth), 1) << rec;
        depths.insert(depth);
        const m26::SquareMove first = tables<Side::White>().tablica1[0];
        if (depth == n) {
            EXPECT_NE(first, (m26::SquareMove{0, 0})) << "the replies of the move played";
        } else {
            EXPECT_EQ(first, (m26::SquareMove{0, 0})) << "nothing finished: no expectations";
        }
    }
    EXPECT_GT(k, 20) << "a search of a few looks only";
    EXPECT_EQ(depths, (std::set<int>{0, old::presort_depth(n), n})) << "the stops fell where they should";
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
    for (int k : {3, 17, 40}) {
        SCOPED_TRACE(testing::Message() << "stopped at look " << k);
        std::string move;
        bool moved = false;
        long leftAlive = 0;
        set_up(MIDDLE_WHITE, 0);
        TB = 50;
        {
            StopWhen peek(keep_killers_at, k);
            move_leaving<Side::White>(move, moved, leftAlive);
            ASSERT_GT(peek.looks(), k);
        }
        set_up(MIDDLE_WHITE, 0);
        TB = 50;
        {
            StopWhen stop(at_look, k);
            move_leaving<Side::White>(move, moved, leftAlive);
        }
        EXPECT_EQ(std::memcmp(killersAtLook[0], KILB, sizeof KILB), 0);
        EXPECT_EQ(std::memcmp(killersAtLook[1], KILC, sizeof KILC), 0);
    }
}

// The record: stopped in the pre-sort, the generator's order stands and its
// first move is played at depth 0; stopped in the first root move, the
// pre-sort's first move at the pre-sort's depth; later, the search depth.
// "sd" lowers the depth searched.
TEST(Stop, TheRecordGivesTheDepthBehindTheMovePlayed) {
    constexpr int n = 7;
    set_up(MIDDLE_BLACK, 0);
    Move generated[MAX_MOVES], presorted[MAX_MOVES];
    const int a = m26::generate_root_moves<Side::Black>(generated);
    std::copy(generated, generated + a, presorted);
    ASSERT_EQ(m26::presort_root<Side::Black>(presorted, a, 0, n), old::presort_depth(n));

    struct Case {
        const char* name;
        StopWhen::Condition when;
        int arg;
        int cap;
        std::string move;  // empty: any
        int depth;
    };
    const Case cases[] = {
        {"in the pre-sort", at_look, 1, 0, text<Side::Black>(generated[0]), 0},
        {"in the first root move", at_root_move, 0, 0, text<Side::Black>(presorted[0]),
         old::presort_depth(n)},
        {"in the third root move", at_root_move, 2, 0, "", n},
        {"not at all, under sd 3", nullptr, 0, 3, "", 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        set_up(MIDDLE_BLACK, 0);
        TC = 50;
        const Position before;
        std::string move, rec;
        bool moved = false;
        long leftAlive = -1;
        {
            std::unique_ptr<StopWhen> stop;
            if (c.when) stop = std::make_unique<StopWhen>(c.when, c.arg);
            CONTROL.depthCap = c.cap;
            rec = move_leaving<Side::Black>(move, moved, leftAlive);
            EXPECT_EQ(CONTROL.stopped, c.when != nullptr);
            CONTROL = SearchControl{};
        }
        ASSERT_TRUE(moved);
        EXPECT_EQ(leftAlive, 0);
        int depth = -1, score = 1;
        char played[5] = {};
        ASSERT_EQ(std::sscanf(rec.c_str(), "%d %4s %d", &depth, played, &score), 3) << rec;
        EXPECT_EQ(depth, c.depth) << rec;
        EXPECT_EQ(std::string(played), move);
        if (!c.move.empty()) {
            EXPECT_EQ(move, c.move);
        }
        if (c.depth != n && c.when) {
            EXPECT_EQ(score, 0) << rec;
        }
        // The move is on the board, and nothing else changed.
        const Position after;
        before.restore();
        i8 zap[8] = {};
        const Move m = legal_move<Side::Black>(move.c_str());
        zrobruch<Side::Black>(zap, m.nr, m.x2);
        EXPECT_TRUE(after.now());
    }
}

// Analysis: depth 2, 3, ... with a line for every new best move, the score
// from the side to move, real nodes; no tree is made, the reply tables stay
// what the game left, and the position is as it was.
template <Side S>
void analysis_of(const char* fen) {
    SCOPED_TRACE(fen);
    set_up(fen, 4);
    tables<S>().tablica1[3] = m26::SquareMove{12, 22};
    tables<S>().tablica2[3][1] = m26::SquareMove{13, 23};
    const Position before;
    Move ru[MAX_MOVES];
    const int a = m26::generate_root_moves<S>(ru);
    const std::vector<std::string> legal = texts<S>(ru, a);
    std::FILE* lines = std::tmpfile();
    m26::thinking_stream = lines;
    {
        StopWhen stop(at_depth, 5);
        CONTROL.analysis = true;
        const long blocks = live_blocks();
        m26::analyse_root<S>(old::MAX_DEPTH);
        EXPECT_EQ(live_blocks(), blocks) << "a tree was made";
        EXPECT_TRUE(CONTROL.stopped);
    }
    m26::thinking_stream = stdout;
    EXPECT_TRUE(before.now());
    EXPECT_EQ(tables<S>().tablica1[3], (m26::SquareMove{12, 22}));
    EXPECT_EQ(tables<S>().tablica2[3][1], (m26::SquareMove{13, 23}));
    std::rewind(lines);
    int lastDepth = 2;
    unsigned long lastNodes = 0;
    std::set<int> depths;
    char l[256];
    while (std::fgets(l, sizeof l, lines)) {
        int depth = 0, score = 0, n = 0;
        long time = -1;
        unsigned long nodes = 0;
        char move[5] = {};
        ASSERT_EQ(std::sscanf(l, "%d %d %ld %lu %4s\n%n", &depth, &score, &time, &nodes, move, &n), 5) << l;
        EXPECT_EQ(static_cast<std::size_t>(n), std::strlen(l)) << l;
        EXPECT_GE(depth, lastDepth) << l;
        EXPECT_GE(nodes, lastNodes) << l;
        EXPECT_GE(time, 0);
        EXPECT_NE(std::find(legal.begin(), legal.end(), move), legal.end()) << l;
        EXPECT_GT(score, 500) << "a queen up, seen from the side to move: " << l;
        lastDepth = depth;
        lastNodes = nodes;
        depths.insert(depth);
    }
    std::fclose(lines);
    EXPECT_EQ(depths, (std::set<int>{2, 3, 4})) << "each depth completes with a line, and 5 is stopped";
}

TEST(Analysis, DeepensWithALineForEachNewBestMoveWithoutATree) {
    analysis_of<Side::White>("r1b1k2r/ppp2ppp/2n2n2/3pp3/1b1PP3/2N2N2/PPP2PPP/R1BQKB1R w KQkq - 0 5");
    analysis_of<Side::Black>("r1bqk2r/ppp2ppp/2n2n2/3pp3/1b1PP3/2N2N2/PPP2PPP/R1B1KB1R b KQkq - 0 5");
}

// A new game, however many moves were given before its first search, starts
// at the depth the clock gives.
TEST(NewGame, TheFirstSearchOfAGameTakesTheStartDepth) {
    constexpr const char* SMALL = "4k3/3ppp2/8/8/8/8/3PPP2/4K3 b - - 0 1";
    std::string move;
    bool moved = false;
    m26::new_game();
    set_up(SMALL, 5);
    TC = 6001;
    EXPECT_EQ(computer_move<Side::Black>(move, moved).substr(0, 2), "9 ");
    // Without a new game the depth carries over (9, adapted); with one the
    // clock decides again.
    m26::new_game();
    set_up(SMALL, 5);
    TC = 100;
    EXPECT_EQ(computer_move<Side::Black>(move, moved).substr(0, 2), "7 ");
    EXPECT_TRUE(moved);
}

}  // namespace
}  // namespace morvelak::test26
