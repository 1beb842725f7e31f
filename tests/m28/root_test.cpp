// The root of m28: repetition scoring against the game
// history, the progress lines of both colours, the position table filled on
// the main lines only, and the start and adaptation of the search depth.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "driver/m28/computer_move.hpp"
#include "tests/m28/support.hpp"

namespace morvelak::test {
namespace {

// White: king d1, rook a1; Black: king e8 (and the mirror with colours
// swapped).  The rook's check on the eighth (first) rank wins nothing, but
// standing a rook up is worth far more than a step back into the game.
constexpr const char* WHITE_ROOK = "4k3/8/8/8/8/8/8/R2K4 w - - 0 1";
constexpr const char* BLACK_ROOK = "r2k4/8/8/8/8/8/8/4K3 b - - 0 1";

// Stores the board after side S plays `t` as a position of the game, one
// full move back.
template <Side S>
void played_before(const std::string& t) {
    const std::vector<i8> b = board_after<S>(move_of<S>(t));
    std::memcpy(GAME.perMove.PLZAP[0][S == Side::White ? older::WHITE_MOVED : older::BEFORE_WHITE], b.data(), 100);
    GAME.R = 1;
}

TEST(RootRepetition, AMoveBackToAnEarlierBoardScoresTwentyWithoutASearch) {
    struct Case {
        const char* fen;
        const char* repeats;
        int score;  // White's side
        const char* line;
    };
    const Case cases[] = {
        {WHITE_ROOK, "a1a2", -20, "6 -12000 1 1 (1/1) MORVELAK"},
        {BLACK_ROOK, "a8a7", +20, "6 -12000 1 1(1/1) MORVELAK"},
    };
    for (const Case& c : cases) {
        const Side s = set_up(c.fen);
        Progress out;
        int best = 0, p = -1;
        if (s == Side::White) {
            played_before<Side::White>(c.repeats);
            const Move ru[] = {move_of<Side::White>(c.repeats)};
            p = search_root<Side::White>(ru, 1, 6, older::czypotrojne, &best);
        } else {
            played_before<Side::Black>(c.repeats);
            const Move ru[] = {move_of<Side::Black>(c.repeats)};
            p = search_root<Side::Black>(ru, 1, 6, older::czypotrojne, &best);
        }
        EXPECT_EQ(p, 0);
        EXPECT_EQ(best, c.score) << c.fen;
        EXPECT_EQ(SEARCH.L, 0u) << "searched although it repeats";
        EXPECT_EQ(SEARCH.HASHL, 0) << "a repeated move made a main line";
        EXPECT_EQ(out.lines(), std::vector<std::string>{c.line});
    }
}

TEST(RootRepetition, TheScoreIsABoundTheNextMoveMustBeat) {
    // The step back scores -20 (White) / +20 (Black); the rook's check beats
    // it, so it is searched again with the far end open ("!") and chosen.
    struct Case {
        const char* fen;
        const char* repeats;
        const char* check;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {WHITE_ROOK, "a1a2", "a1a8",
         {"6 -12000 1 1 (1/2) MORVELAK", "6 -20 1 1 (2/2) MORVELAK", "6 -20 1 1 (2/2) !MORVELAK"}},
        {BLACK_ROOK, "a8a7", "a8a1",
         {"6 -12000 1 1(1/2) MORVELAK", "6 -20 1 1(2/2) MORVELAK", "6 -20 1 1(2/2) !MORVELAK"}},
    };
    for (const Case& c : cases) {
        const Side s = set_up(c.fen);
        Progress out;
        int best = 0, p = -1;
        if (s == Side::White) {
            played_before<Side::White>(c.repeats);
            const Move ru[] = {move_of<Side::White>(c.repeats), move_of<Side::White>(c.check)};
            p = search_root<Side::White>(ru, 2, 6, older::czypotrojne, &best);
            EXPECT_GT(best, 300);
        } else {
            played_before<Side::Black>(c.repeats);
            const Move ru[] = {move_of<Side::Black>(c.repeats), move_of<Side::Black>(c.check)};
            p = search_root<Side::Black>(ru, 2, 6, older::czypotrojne, &best);
            EXPECT_LT(best, -300);
        }
        EXPECT_EQ(p, 1) << c.fen;
        EXPECT_EQ(out.lines(), c.lines) << c.fen;
    }
}

TEST(RootProgress, EveryMoveGetsALineWithTheBestScoreSoFarFromTheEnginesSide) {
    // The rook takes a knight: far the best move, and searched first, so no
    // later move beats the null window and no "!" appears.
    struct Case {
        const char* fen;
        std::vector<std::string> moves;
        const char* format;  // for depth, score, number, count
    };
    const Case cases[] = {
        {"4k3/8/8/8/8/8/3K4/n6R w - - 0 1", {"h1a1", "h1h2", "d2e2"}, "%d %d 1 1 (%d/%d) MORVELAK"},
        {"N6r/3k4/8/8/8/8/8/4K3 b - - 0 1", {"h8a8", "h8h7", "d7e7"}, "%d %d 1 1(%d/%d) MORVELAK"},
    };
    for (const Case& c : cases) {
        const Side s = set_up(c.fen);
        Progress out;
        std::vector<Move> ru;
        int best = 0, p = -1;
        if (s == Side::White) {
            for (const std::string& t : c.moves) ru.push_back(move_of<Side::White>(t));
            p = search_root<Side::White>(ru.data(), 3, 6, older::czypotrojne, &best);
        } else {
            for (const std::string& t : c.moves) ru.push_back(move_of<Side::Black>(t));
            p = search_root<Side::Black>(ru.data(), 3, 6, older::czypotrojne, &best);
        }
        EXPECT_EQ(p, 0);
        const int shown = s == Side::White ? best : -best;  // the engine's side
        char buf[3][64];
        std::snprintf(buf[0], 64, c.format, 6, -12000, 1, 3);
        std::snprintf(buf[1], 64, c.format, 6, shown, 2, 3);
        std::snprintf(buf[2], 64, c.format, 6, shown, 3, 3);
        EXPECT_EQ(out.lines(), (std::vector<std::string>{buf[0], buf[1], buf[2]})) << c.fen;
    }
}

// The root moves whose search may fill the table: the first, and every one
// announced with "!".
std::set<int> main_lines(const std::vector<std::string>& lines) {
    std::set<int> m{0};
    for (const std::string& l : lines) {
        int depth, score, b, a;
        if (l.find("!MORVELAK") != std::string::npos &&
            std::sscanf(l.c_str(), "%d %d 1 1 (%d/%d)", &depth, &score, &b, &a) == 4)
            m.insert(b - 1);
    }
    return m;
}

TEST(PositionTable, OnlyTheMainLinesFillItTwoPliesBelowTheRoot) {
    // White's first root move wastes a tempo; the queen trade found later
    // beats it and is searched again.  Only those two moves' replies may
    // appear in the table, each as the board after the move and one reply.
    set_up("r3k2r/ppp2ppp/2n5/3q4/8/2N5/PPP2PPP/R2QK2R w KQkq - 0 1", 3);
    const std::vector<std::string> order = {"a2a3", "h2h3", "c3d5", "d1d5", "g2g3"};
    std::vector<Move> ru;
    for (const std::string& t : order) ru.push_back(move_of<Side::White>(t));
    Progress out;
    begin_root(6);
    int best = 0;
    const int p = search_root<Side::White>(ru.data(), static_cast<int>(ru.size()), 6, older::czypotrojne, &best);
    const std::set<int> mains = main_lines(out.lines());
    EXPECT_GT(mains.size(), 1u) << "the order was meant to give a fail-high";
    EXPECT_TRUE(mains.count(p));
    ASSERT_GT(SEARCH.HASHL, 0);

    // Every board two plies below a main-line root move, and every board two
    // plies below any other root move.
    std::set<std::vector<i8>> onMain, offMain;
    for (int b = 0; b < static_cast<int>(ru.size()); ++b) {
        i8 zap[8] = {};
        zrobruch<Side::White>(zap, ru[b].nr, ru[b].x2);
        Move rr[MAX_MOVES], bi[MAX_MOVES];
        int aa = 0;
        const int nq = superruchy<Side::Black>(POS.PL, POS.CP, bi, rr, POS.WYJ, &aa);
        for (int k = 0; k < nq; ++k) rr[aa + k] = bi[k];
        for (int k = 0; k < aa + nq; ++k) {
            const std::vector<i8> after = board_after<Side::Black>(rr[k]);
            (mains.count(b) ? onMain : offMain).insert(after);
        }
        skasujruch<Side::White>(zap, ru[b].nr, ru[b].x2);
    }
    for (int i = 0; i < SEARCH.HASHL; ++i) {
        const std::vector<i8> stored(SEARCH.HASH[i].plansza, SEARCH.HASH[i].plansza + 100);
        EXPECT_TRUE(onMain.count(stored)) << "record " << i << " is not on a main line";
        EXPECT_GT(SEARCH.HASH[i].ile, 0);
    }
    // Some position below a move searched with the null window only is
    // nowhere in the table.
    int missing = 0;
    for (const std::vector<i8>& b : offMain) {
        bool found = false;
        for (int i = 0; i < SEARCH.HASHL && !found; ++i) found = std::equal(b.begin(), b.end(), SEARCH.HASH[i].plansza);
        if (!found && !onMain.count(b)) ++missing;
    }
    EXPECT_GT(missing, 0);
}

TEST(StartDepth, NineTenElevenByTheClock) {
    const struct { i32 clock; int depth; } cases[] = {
        {-1, 9}, {0, 9}, {100, 9}, {12000, 9}, {12001, 10}, {60000, 10}, {60001, 11}, {2000000000, 11},
    };
    for (const auto& c : cases) EXPECT_EQ(start_depth(c.clock), c.depth) << c.clock;
}

TEST(AdaptDepth, EightiethOfTheTimeLeftThenASixtiethAfterMove35) {
    const struct { int n, t; i32 clock; int r, next; } cases[] = {
        {9, 100, 8100, 35, 10},   // (8100 - 100) / 80 + 1 = 101: within budget
        {9, 110, 8110, 35, 9},    // 8000 / 80 + 1 = 101 < 110 <= 6 * 101
        {9, 110, 8110, 36, 10},   // 8000 / 60 + 1 = 134: within the later budget
        {9, 606, 8606, 35, 9},    // 8000 / 80 + 1 = 101: exactly six budgets
        {9, 607, 8607, 35, 8},    // one centisecond more
        {9, 700, 8700, 35, 8},    // 8000 / 80 + 1 = 101, 700 > 606
        {6, 5000, 6000, 35, 6},   // never below 6
        {7, 5000, 6000, 35, 6},
        {9, 500, 100, 10, 8},     // a clock below zero after the move: budget <= 1
        {19, 0, 100000, 0, 19},   // never beyond the tables
        {18, 0, 100000, 0, 19},
    };
    for (const auto& c : cases)
        EXPECT_EQ(adapt_depth(c.n, c.t, c.clock, c.r), c.next) << c.n << " " << c.t << " " << c.clock;
}

TEST(StartDepth, TheFirstMoveOfAGameSearchesToTheDepthTheClockGives) {
    // White's first move, then a move of a game already begun: the depth of
    // the first follows the clock, the second the first's time.  (Kings and
    // blocked pawns: deep searches stay short.)
    constexpr const char* BLOCKED = "4k3/8/8/3p4/3P4/8/8/4K3 w - - 0 1";
    Record rec;
    Progress out;
    char text[4];
    const struct { u32 clock; int depth; } cases[] = {{12000, 9}, {12001, 10}, {60001, 11}};
    for (const auto& c : cases) {
        set_up(BLOCKED, 0);
        GAME.TB = c.clock;
        ASSERT_TRUE(ruchkomputerbiale(text));
        EXPECT_EQ(last_root().depth, c.depth);
    }
    // Later in the game the depth carries over (11, adapted) instead: the
    // position afresh, the depth control's target as the last move left it.
    const TargetDepth target = SEARCH.target;
    set_up(BLOCKED, 4);
    SEARCH.target = target;
    GAME.TB = 100;
    ASSERT_TRUE(ruchkomputerbiale(text));
    EXPECT_GE(last_root().depth, 10);
    EXPECT_LE(last_root().depth, 12);
}

}  // namespace
}  // namespace morvelak::test
