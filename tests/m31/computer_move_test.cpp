// The computer move: no legal move, a single legal move, the opening book
// (a legal book move is played, castling matched by its code, an illegal
// book move searched instead), each colour's record line, thinking lines only
// when searching, and the move made on the board.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "driver/game.hpp"
#include "driver/m31/computer_move.hpp"
#include "engine/search/control.hpp"
#include "tests/m31/support.hpp"

namespace morvelak::test {
namespace {

// Each test runs in a fresh folder (the book is read from the working
// folder) with the record in a temporary file.
class ComputerMove : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/m31-XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir_ = tmpl;
        ASSERT_NE(getcwd(home_, sizeof home_), nullptr);
        ASSERT_EQ(chdir(dir_.c_str()), 0);
        GAME.zapisparti = std::tmpfile();
    }
    void TearDown() override {
        std::fclose(GAME.zapisparti);
        GAME.zapisparti = nullptr;
        std::remove("k2.txt");
        EXPECT_EQ(chdir(home_), 0);
        rmdir(dir_.c_str());
    }
    static void book(const char* lines) {
        std::FILE* f = std::fopen("k2.txt", "w");
        std::fputs(lines, f);
        std::fclose(f);
    }
    // Plays the engine's move; "xxxx" when it has none.
    static std::string play(bool white) {
        char m[4] = {'x', 'x', 'x', 'x'};
        const bool moved = white ? ruchkomputerbiale(m) : ruchkomputerczarne(m);
        EXPECT_EQ(moved, std::string(m, 4) != "xxxx");
        return {m, 4};
    }

    std::string dir_;
    char home_[4096];
    Thinking thinking_;
};

TEST_F(ComputerMove, NoLegalMoveChangesNothing) {
    for (bool white : {true, false}) {
        set_up("k7/8/8/8/8/1q6/8/K7 w - - 0 1", 20, !white);
        SEARCH.L = 777;
        const std::vector<i8> board(POS.PL, POS.PL + 100);
        EXPECT_EQ(play(white), "xxxx");
        EXPECT_EQ(std::vector<i8>(POS.PL, POS.PL + 100), board);
        EXPECT_EQ(SEARCH.L, 777u);
    }
    EXPECT_EQ(contents(GAME.zapisparti), "");
    EXPECT_EQ(thinking_.text(), "");
}

TEST_F(ComputerMove, SingleLegalMoveIsPlayedAtOnce) {
    // Only the h-pawn can move; the rooks box the king in.
    set_up("kr6/8/8/8/7P/8/7r/K7 w - - 0 1", 20);
    SEARCH.L = 777;
    EXPECT_EQ(play(true), "h4h5");
    EXPECT_EQ(POS.PL[58], W_PAWN);
    EXPECT_EQ(thinking_.text(), "");
    // Depth and score 0, the time, and White's node counter cleared.
    EXPECT_EQ(contents(GAME.zapisparti), "0 h4h5 0 0.0 0");
}

TEST_F(ComputerMove, BookMovesAreLegalMovesOfTheList) {
    const struct {
        const char* book;
        const char* fen;
        int plies;
        const char* move;
        const char* record;
    } cases[] = {
        {"g1f3d7d5\n", START, 0, "g1f3", "0 g1f3 0 0.0 0"},
        // Black closes the line, without the node counter.
        {"e2e4c7c5\n", "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1", 1, "c7c5",
         "0 c7c5 0 0.0\n"},
        // The king's two-square move is the castling move of the list.
        {"g1f3g8f6g2g3g7g6f1g2f8g7e1g1\n", "rnbqk2r/ppppppbp/5np1/8/8/5NP1/PPPPPPBP/RNBQK2R w KQkq - 4 4", 6,
         "e1g1", "0 e1g1 0 0.0 0"},
    };
    for (const auto& c : cases) {
        book(c.book);
        std::rewind(GAME.zapisparti);
        set_up(c.fen, c.plies);
        const bool white = c.plies % 2 == 0;
        EXPECT_EQ(play(white), c.move);
        EXPECT_EQ(contents(GAME.zapisparti).substr(0, std::string(c.record).size()), c.record);
    }
    EXPECT_EQ(POS.PL[17], W_KING);
    EXPECT_EQ(POS.PL[16], W_ROOK);
    EXPECT_EQ(thinking_.text(), "");
}

TEST_F(ComputerMove, IllegalBookMoveIsSearched) {
    book("e2e5\n");
    GAME.TB = 0;  // a new game with little time: depth 7
    set_up(START);
    const std::string move = play(true);
    const std::string rec = contents(GAME.zapisparti);
    EXPECT_EQ(rec.substr(0, 7), "7 " + move + " ");
    EXPECT_EQ(rec.substr(rec.rfind(' ') + 1), std::to_string(SEARCH.L));
    EXPECT_GT(SEARCH.L, 1000u);
    // Thinking lines from depth 2 to 7, the last one starting with the move.
    const std::string t = thinking_.text();
    EXPECT_EQ(t.substr(0, 2), "2 ");
    const std::string last = t.substr(t.rfind('\n', t.size() - 2) + 1);
    EXPECT_EQ(last.substr(0, 2), "7 ");
    EXPECT_NE(last.find(" 1 1 "), std::string::npos);
}

TEST_F(ComputerMove, BlackSearchRecordsDepthMoveScoreAndTime) {
    set_up("6k1/p7/8/3q4/4P3/8/P7/6K1 w - - 0 1", 20, true);  // twin: d5xe4 wins the queen
    EXPECT_EQ(play(false), "d5e4");
    EXPECT_EQ(POS.PL[45], B_PAWN);
    const std::string rec = contents(GAME.zapisparti);
    int depth, score;
    char m[5];
    unsigned long secs, tenths;
    EXPECT_EQ(std::sscanf(rec.c_str(), "%d %4s %d %lu.%lu", &depth, m, &score, &secs, &tenths), 5);
    EXPECT_EQ(std::count(rec.begin(), rec.end(), ' '), 3);
    EXPECT_EQ(rec.back(), '\n');
}

// The record's depth: its first number.
int recorded_depth(const std::string& rec) { return std::atoi(rec.c_str()); }

TEST_F(ComputerMove, ANewGameTakesItsDepthFromTheClockAgain) {
    // A quiet ending where every search is quick, well into the game: the
    // depth carries over from move to move until a new game starts.
    const char* ending = "8/5k2/8/3p4/3P4/8/5K2/8 w - - 0 40";
    struct Step { bool newGame; u32 clock; int depth; };
    const Step steps[] = {
        {true, 1000000, 10},   // a long game starts at 10
        {false, 1000000, 11},  // a quick search: one ply deeper
        {false, 1000000, 12},
        {true, 0, 7},          // the next game, with little time, starts at 7 again
        {true, 12001, 8},      // and with over two minutes at 8
    };
    for (const Step& s : steps) {
        if (s.newGame) new_game();
        // The position afresh, the depth control's target as the last move
        // left it (set_up starts from a fresh search state).
        const TargetDepth target = SEARCH.target;
        set_up(ending, 20);
        SEARCH.target = target;
        GAME.TB = s.clock;
        std::rewind(GAME.zapisparti);
        play(true);
        EXPECT_EQ(recorded_depth(contents(GAME.zapisparti)), s.depth) << s.clock;
    }
    new_game();
}

TEST_F(ComputerMove, TheInterfacesDepthCapLimitsTheSearchAndTheRecord) {
    new_game();
    CONTROL.depthCap = 4;
    set_up("6k1/p7/8/3q4/4P3/8/P7/6K1 w - - 0 1", 20);
    GAME.TB = 12000;
    EXPECT_EQ(play(true), "e4d5");
    EXPECT_EQ(recorded_depth(contents(GAME.zapisparti)), 4);
    const std::string t = thinking_.text();
    EXPECT_EQ(t.substr(t.rfind('\n', t.size() - 2) + 1, 2), "4 ");
    CONTROL = SearchControl{};
    new_game();
}

}  // namespace
}  // namespace morvelak::test
