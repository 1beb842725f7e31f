// The computer move: no legal move, a single legal move, the opening book
// (a legal book move is played, an illegal one searched instead, castling
// matched by its code), the record line of each colour, thinking lines only
// when searching, and the move made on the board.
#include <gtest/gtest.h>

#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "driver/game.hpp"
#include "driver/m31/computer_move.hpp"
#include "tests/search31/support.hpp"

namespace morvelak::searchtest {
namespace {

// Runs each test in a fresh folder (the book is read from the working
// folder), with the record file and the thinking lines in temporary files.
class ComputerMove : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/search31-XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir_ = tmpl;
        ASSERT_NE(getcwd(old_, sizeof old_), nullptr);
        ASSERT_EQ(chdir(dir_.c_str()), 0);
        zapisparti = std::tmpfile();
        thinking_ = std::tmpfile();
        saved_ = thinking_stream;
        thinking_stream = thinking_;
    }
    void TearDown() override {
        thinking_stream = saved_;
        std::fclose(thinking_);
        std::fclose(zapisparti);
        zapisparti = nullptr;
        std::remove("k2.txt");
        EXPECT_EQ(chdir(old_), 0);
        rmdir(dir_.c_str());
    }
    static std::string contents(std::FILE* f) {
        std::string s;
        std::rewind(f);
        for (int c; (c = std::fgetc(f)) != EOF;) s.push_back(static_cast<char>(c));
        return s;
    }
    std::string record_text() { return contents(zapisparti); }
    std::string thinking() { return contents(thinking_); }
    static void book(const char* lines) {
        std::FILE* f = std::fopen("k2.txt", "w");
        std::fputs(lines, f);
        std::fclose(f);
    }
    static bool move(bool white, std::string& text) {
        char m[4] = {'x', 'x', 'x', 'x'};
        const bool ok = white ? m31::ruchkomputerbiale(m) : m31::ruchkomputerczarne(m);
        text.assign(m, 4);
        return ok;
    }

    std::string dir_;
    char old_[4096];
    std::FILE* thinking_ = nullptr;
    std::FILE* saved_ = nullptr;
};

TEST_F(ComputerMove, NoLegalMoveChangesNothing) {
    const char* rows =
        "k......."
        "........"
        "........"
        "........"
        "........"
        ".h......"
        "........"
        "K.......";
    for (bool white : {true, false}) {
        set_up(white ? rows : rotated(rows), "0 0 0 0", 20);
        L = 777;
        const std::vector<i8> board(PL, PL + 100);
        std::string text;
        EXPECT_FALSE(move(white, text));
        EXPECT_EQ(text, "xxxx");
        EXPECT_EQ(std::vector<i8>(PL, PL + 100), board);
        EXPECT_EQ(L, 777u);
    }
    EXPECT_EQ(record_text(), "");
    EXPECT_EQ(thinking(), "");
}

TEST_F(ComputerMove, SingleLegalMoveIsPlayedAtOnce) {
    // Only the h-pawn can move; the king on a1 is boxed in by the rooks.
    const char* rows =
        "kw......"
        "........"
        "........"
        "........"
        ".......P"
        "........"
        ".......w"
        "K.......";
    set_up(rows, "0 0 0 0", 20);
    L = 777;
    std::string text;
    ASSERT_TRUE(move(true, text));
    EXPECT_EQ(text, "h4h5");
    EXPECT_EQ(PL[58], W_PAWN);
    EXPECT_EQ(PL[48], EMPTY);
    EXPECT_EQ(thinking(), "");
    // Depth and score 0, the time, and White's node counter cleared.
    EXPECT_EQ(record_text(), "0 h4h5 0 0.0 0");
}

TEST_F(ComputerMove, LegalBookMoveIsPlayed) {
    book("g1f3d7d5\n");
    set_up(START);
    std::string text;
    ASSERT_TRUE(move(true, text));
    EXPECT_EQ(text, "g1f3");
    EXPECT_EQ(PL[36], W_KNIGHT);
    EXPECT_EQ(thinking(), "");
    EXPECT_EQ(record_text(), "0 g1f3 0 0.0 0");
}

TEST_F(ComputerMove, BookAnswerForBlackClosesTheRecordLine) {
    book("e2e4c7c5\n");
    set_up("wsghkgsw"
           "pppppppp"
           "........"
           "........"
           "....P..."
           "........"
           "PPPP.PPP"
           "WSGHKGSW",
           "3 3 35 0", 1);
    std::string text;
    ASSERT_TRUE(move(false, text));
    EXPECT_EQ(text, "c7c5");
    EXPECT_EQ(record_text(), "0 c7c5 0 0.0\n");
}

TEST_F(ComputerMove, BookCastlingMatchesTheCastlingMove) {
    book("g1f3g8f6g2g3g7g6f1g2f8g7e1g1\n");
    set_up("wsghk..w"
           "ppppppgp"
           ".....sp."
           "........"
           "........"
           ".....SP."
           "PPPPPPGP"
           "WSGHK..W",
           "3 3 0 0", 6);
    std::string text;
    ASSERT_TRUE(move(true, text));
    EXPECT_EQ(text, "e1g1");
    EXPECT_EQ(PL[17], W_KING);
    EXPECT_EQ(PL[16], W_ROOK);
    EXPECT_EQ(WYJ[0], 0);
}

TEST_F(ComputerMove, IllegalBookMoveIsSearched) {
    book("e2e5\n");
    TB = 0;  // start of a game with little time: depth 7
    set_up(START);
    std::string text;
    ASSERT_TRUE(move(true, text));
    const std::string rec = record_text();
    EXPECT_EQ(rec.substr(0, 2), "7 ");
    EXPECT_EQ(rec.substr(2, 4), text);
    // The node counter closes White's part of the line.
    EXPECT_EQ(rec.substr(rec.rfind(' ') + 1), std::to_string(L));
    EXPECT_GT(L, 1000u);
    // Thinking lines: depth, score, "1 1", the line; the last one starts
    // with the move played.
    const std::string t = thinking();
    ASSERT_FALSE(t.empty());
    EXPECT_EQ(t.substr(0, 2), "2 ");
    const std::string last = t.substr(t.rfind('\n', t.size() - 2) + 1);
    EXPECT_EQ(last.substr(0, 2), "7 ");
    EXPECT_NE(last.find(" 1 1 "), std::string::npos);
}

TEST_F(ComputerMove, SearchedMoveOfBlackWithTheRecordFormat) {
    const char* rows =
        "......k."
        "p......."
        "........"
        "...h...."
        "....P..."
        "........"
        "P......."
        "......K.";
    set_up(rotated(rows), "0 0 0 0", 20);
    std::string text;
    ASSERT_TRUE(move(false, text));
    EXPECT_EQ(text, "d5e4");
    EXPECT_EQ(PL[45], B_PAWN);
    const std::string rec = record_text();
    ASSERT_FALSE(rec.empty());
    EXPECT_EQ(rec.back(), '\n');
    // depth, move, score from Black's side, time: four fields, no counter.
    int depth, score;
    char m[5];
    unsigned long secs, tenths;
    EXPECT_EQ(std::sscanf(rec.c_str(), "%d %4s %d %lu.%lu", &depth, m, &score, &secs, &tenths), 5);
    EXPECT_EQ(std::count(rec.begin(), rec.end(), ' '), 3);
}

}  // namespace
}  // namespace morvelak::searchtest
