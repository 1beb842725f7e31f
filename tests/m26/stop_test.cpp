// m26 stopped in the middle of its thinking ("?", the
// clock): the position comes back untouched, every tree node is freed, the
// tree keeps only root moves searched to the end, the move played is the
// best of them or the first of the order the search started from, and the
// record gives the depth behind it.  Also analysis, and the start depth of
// every new game.
#include <gtest/gtest.h>

#include "tests/common/stop_control.hpp"
#include "tests/m26/support.hpp"

namespace morvelak::test {
namespace {

using namespace morvelak::test;
using m26::korzen;
using m26::tables;

constexpr const char* MIDDLE_WHITE = "r1bq1rk1/2p1bppp/p1np1n2/1p2p3/4P3/1BPP1N2/PP3PPP/RNBQR1K1 w - - 0 9";
constexpr const char* MIDDLE_BLACK = "rnbqkb1r/pp2pppp/3p1n2/8/3NP3/2N5/PPP2PPP/R1BQKB1R b KQkq - 2 5";

// The computer move of side S (the record to a scratch file): its record
// text and move text, and how many heap blocks it left alive.
template <Side S> std::string move_leaving(std::string& move, long& leftAlive) {
    std::FILE* rec = std::tmpfile();
    GAME.zapisparti = rec;
    char m[4] = {};
    const long blocks = live_blocks();
    EXPECT_TRUE(S == Side::White ? m26::ruchkomputerbiale(m) : m26::ruchkomputerczarne(m));
    leftAlive = live_blocks() - blocks;
    move.assign(m, 4);
    std::fflush(rec);
    std::rewind(rec);
    std::string out;
    for (int c; (c = std::fgetc(rec)) != EOF;) out.push_back(static_cast<char>(c));
    GAME.zapisparti = nullptr;
    std::fclose(rec);
    return out;
}

template <Side S> m26::RootResult root(Move* ru, int a) {
    korzen<S>().inic();
    m26::clear_counters();
    return m26::search_root<S>(ru, a, 6, older::czypotrojne);
}

// Stopped while it searches root move b: the position is as before, the
// root node holds the moves before b with their subtrees and nothing after,
// all of it what a search of those moves alone gives, and freeing the root
// frees every node made.
template <Side S>
void root_stopped_in(const char* fen, int b) {
    SCOPED_TRACE(testing::Message() << fen << " stopped in move " << b);
    set_up(fen, 4);
    std::vector<int> values, replies;
    values.reserve(MAX_MOVES);
    replies.reserve(MAX_MOVES);
    const long blocks = live_blocks();
    Move ru[MAX_MOVES];
    const int a = m26::generate_root_moves<S>(ru);
    const Position before = POS;
    m26::RootResult r{};
    {
        StopWhen stop(at_root_move, b);
        r = root<S>(ru, a);
        ASSERT_TRUE(CONTROL.stopped);
        EXPECT_EQ(r.finished, CONTROL.moveIndex);  // the move under search counts for nothing
    }
    EXPECT_GE(r.finished, b);
    EXPECT_TRUE(POS == before);
    const m26::wezel& tree = korzen<S>();
    ASSERT_EQ(tree.ile1, r.finished);
    for (int k = 0; k < std::min(a, m26::NODE_MOVES); ++k) EXPECT_EQ(tree.nast[k] != nullptr, k < r.finished) << k;
    values.assign(tree.wart, tree.wart + r.finished);
    for (int k = 0; k < r.finished; ++k) replies.push_back(tree.nast[k]->ile1);
    korzen<S>().zwolnij();
    EXPECT_EQ(live_blocks(), blocks);

    set_up(fen, 4);
    const m26::RootResult alone = root<S>(ru, r.finished);
    EXPECT_EQ(r.p, r.finished > 0 ? alone.p : 0);
    EXPECT_EQ(r.f, r.finished > 0 ? alone.f : 0);
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

// The killers as the search held them at one look, taken without stopping.
Move killersAtLook[2][KILLER_ROWS * KILLER_ROW];
bool keep_killers_at(int look, const SearchControl&, int k) {
    if (look == k) {
        std::memcpy(killersAtLook[0], m26::SEARCH.KILB, sizeof m26::SEARCH.KILB);
        std::memcpy(killersAtLook[1], m26::SEARCH.KILC, sizeof m26::SEARCH.KILC);
    }
    return false;
}

// The computer move stopped wherever the stop falls (every look of the first
// ten, then every fourth: in the pre-sort, in the first root move, in later
// ones, deep or shallow in the tree).  It plays the first move of a two-ply
// sort at depth 2 when the pre-sort was cut short, the pre-sort's first at
// its depth when no root move was finished, else a move at the search depth,
// whose replies fill the tables (cleared otherwise).  No node is left, and
// the killers are what the search held at the look that stopped it (seen at
// every twelfth look).
TEST(Stop, WhereverTheStopFallsTheMoveIsSoundAndEveryNodeFreed) {
    constexpr int n = 7;  // the first move of a game with 5 seconds
    set_up(MIDDLE_WHITE, 0);
    Move generated[MAX_MOVES], presorted[MAX_MOVES];
    const int a = m26::generate_root_moves<Side::White>(generated);
    std::copy(generated, generated + a, presorted);
    const int sortDepth = m26::presort_root<Side::White>(presorted, a, 0, n);
    ASSERT_EQ(sortDepth, older::presort_depth(n));
    const std::string firstPresorted = text<Side::White>(presorted[0]);

    std::set<int> depths;
    int k = 1;
    for (bool stopped = true; stopped && k < 1000; k += k < 10 ? 1 : 4) {
        SCOPED_TRACE(testing::Message() << "stopped at look " << k);
        std::string move;
        long leftAlive = -1;
        const bool peeks = k % 12 == 6;
        if (peeks) {
            set_up(MIDDLE_WHITE, 0);
            GAME.TB = 50;
            StopWhen peek(keep_killers_at, k);
            move_leaving<Side::White>(move, leftAlive);
        }
        set_up(MIDDLE_WHITE, 0);
        GAME.TB = 50;
        tables<Side::White>().tablica1[0] = m26::SquareMove{11, 21};  // left by the last move
        const Position before = POS;
        std::string rec;
        {
            StopWhen stop(at_look, k);
            rec = move_leaving<Side::White>(move, leftAlive);
            stopped = CONTROL.stopped;
        }
        EXPECT_EQ(leftAlive, 0);
        if (peeks && stopped) {
            EXPECT_EQ(std::memcmp(killersAtLook[0], m26::SEARCH.KILB, sizeof m26::SEARCH.KILB), 0);
            EXPECT_EQ(std::memcmp(killersAtLook[1], m26::SEARCH.KILC, sizeof m26::SEARCH.KILC), 0);
        }
        int depth = -1, score = 1;
        ASSERT_EQ(std::sscanf(rec.c_str(), "%d %*4s %d", &depth, &score), 2) << rec;
        depths.insert(depth);
        const bool expectations = tables<Side::White>().tablica1[0].from != 0;
        EXPECT_EQ(expectations, depth == n) << "replies kept only from root moves searched to the end";
        if (depth != n) {
            if (depth == sortDepth) {
                EXPECT_EQ(move, firstPresorted);
            }
            EXPECT_EQ(score, 0);
        }
        // The move is on the board, and nothing else changed.
        const Position after = POS;
        POS = before;
        i8 zap[8] = {};
        const Move m = legal_move<Side::White>(move.c_str());
        zrobruch<Side::White>(zap, m.nr, m.x2);
        EXPECT_TRUE(POS == after);
    }
    EXPECT_GT(k, 20) << "a search of a few looks only";
    EXPECT_EQ(depths, (std::set<int>{older::SHALLOW_SORT, sortDepth, n})) << "the stops fell where they should";
}

// Analysis: depth 2, 3, ... with a line for every new best move, the score
// from the side to move (a queen up here), real nodes; no tree is made, the
// reply tables stay what the game left, and the position is as it was.
// Cut in its pre-sort by the clock or by "?", the engine does not play the
// generator's first move, a capture that loses the queen here, but the best
// of a two-ply sort, recorded at depth 2; no node is left behind.
TEST(Stop, APreSortCutShortStillGivesAMoveThatKeepsTheQueen) {
    constexpr const char* QUEEN_EN_PRISE = "4k3/8/4p3/3p4/8/3Q4/8/4K3 w - - 0 1";  // Qxd5?? exd5
    for (const StopReason why : {StopReason::Deadline, StopReason::MoveNow}) {
        SCOPED_TRACE(static_cast<int>(why));
        set_up(QUEEN_EN_PRISE, 0);
        GAME.TB = 1200;
        Move ru[MAX_MOVES];
        m26::generate_root_moves<Side::White>(ru);
        ASSERT_EQ(text<Side::White>(ru[0]), "d3d5");
        std::string move, rec;
        long leftAlive = -1;
        {
            StopWhen stop(at_look, 1, why);
            rec = move_leaving<Side::White>(move, leftAlive);
            EXPECT_TRUE(CONTROL.stopped);
            EXPECT_EQ(CONTROL.reason, why);
        }
        EXPECT_EQ(leftAlive, 0);
        EXPECT_NE(move, "d3d5");
        EXPECT_EQ(rec.substr(0, 2), std::to_string(older::SHALLOW_SORT) + " ") << rec;
    }
}

template <Side S>
void analysis_of(const char* fen) {
    SCOPED_TRACE(fen);
    set_up(fen, 4);
    tables<S>().tablica1[3] = m26::SquareMove{12, 22};
    tables<S>().tablica2[3][1] = m26::SquareMove{13, 23};
    const Position before = POS;
    Move ru[MAX_MOVES];
    const std::vector<std::string> legal = texts<S>(ru, m26::generate_root_moves<S>(ru));
    std::FILE* lines = std::tmpfile();
    CONTROL.thinking = lines;
    {
        StopWhen stop(at_depth, 5);
        CONTROL.analysis = true;
        const long blocks = live_blocks();
        m26::analyse_root<S>(older::MAX_DEPTH, older::czypotrojne);
        EXPECT_EQ(live_blocks(), blocks) << "a tree was made";
        EXPECT_TRUE(CONTROL.stopped);
    }
    CONTROL.thinking = stdout;
    EXPECT_TRUE(POS == before);
    EXPECT_EQ(tables<S>().tablica1[3], (m26::SquareMove{12, 22}));
    EXPECT_EQ(tables<S>().tablica2[3][1], (m26::SquareMove{13, 23}));
    std::string printed;
    std::rewind(lines);
    for (int c; (c = std::fgetc(lines)) != EOF;) printed.push_back(static_cast<char>(c));
    std::fclose(lines);
    expect_analysis_lines(printed, legal, 500);
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
    GAME.TC = 6001;
    EXPECT_EQ(computer_move<Side::Black>(move, moved).substr(0, 2), "9 ");
    // Without a new game the depth carries over (9, adapted); with one the
    // clock decides again.
    m26::new_game();
    set_up(SMALL, 5);
    GAME.TC = 100;
    EXPECT_EQ(computer_move<Side::Black>(move, moved).substr(0, 2), "7 ");
}

}  // namespace
}  // namespace morvelak::test
