// The small pieces of the command loop: line reading, words, the log rule,
// move text and legality, the time value, the result of a side without moves.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "driver/protocol.hpp"
#include "engine/eval/m31/eval.hpp"
#include "engine/position/rebuild.hpp"
#include "engine/position/position.hpp"
#include "engine/position/boardfile.hpp"

namespace morvelak::test {
namespace {

std::FILE* input_of(const std::string& text) {
    std::FILE* f = std::tmpfile();
    std::fwrite(text.data(), 1, text.size(), f);
    std::rewind(f);
    return f;
}

std::vector<std::string> all_lines(const std::string& text) {
    std::FILE* f = input_of(text);
    std::vector<std::string> lines;
    char line[LINE_SIZE];
    while (read_line(f, line)) lines.emplace_back(line);
    std::fclose(f);
    return lines;
}

TEST(ReadLine, KeepsNewlinesAndALastLineWithoutOne) {
    EXPECT_EQ(all_lines("new\n\nusermove e2e4\nquit"),
              (std::vector<std::string>{"new\n", "\n", "usermove e2e4\n", "quit"}));
    EXPECT_TRUE(all_lines("").empty());
}

TEST(ReadLine, AnOverlongLineIsCutAndItsRestNeverBecomesACommand) {
    const std::string longLine = std::string(255, 'x') + "quit\n";
    const auto lines = all_lines(longLine + "white\n");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], std::string(255, 'x'));  // no newline: it did not fit
    EXPECT_EQ(lines[1], "white\n");

    // 254 characters and the newline still fit; 255 and the newline do not.
    const auto fits = all_lines(std::string(254, 'y') + "\nblack\n");
    ASSERT_EQ(fits.size(), 2u);
    EXPECT_EQ(fits[0], std::string(254, 'y') + "\n");
    const auto cut = all_lines(std::string(255, 'y') + "\nblack\n");
    ASSERT_EQ(cut.size(), 2u);
    EXPECT_EQ(cut[0], std::string(255, 'y'));
    EXPECT_EQ(cut[1], "black\n");

    // Many times the buffer, ending at the end of input.
    const auto huge = all_lines(std::string(5000, 'z'));
    ASSERT_EQ(huge.size(), 1u);
    EXPECT_EQ(huge[0].size(), 255u);
}

TEST(FirstWord, SplitsOnAnyWhiteSpace) {
    struct Case { const char* line; bool has; const char* word; };
    const Case cases[] = {
        {"new\n", true, "new"},
        {"time 100\n", true, "time"},
        {"  \tblack  \n", true, "black"},
        {"new\r\n", true, "new"},          // a CR LF interface
        {"timex 100\n", true, "timex"},
        {"   \n", false, ""},
        {"\t\r\n", false, ""},
        {"quit", true, "quit"},
    };
    for (const Case& c : cases) {
        char word[LINE_SIZE] = "previous";
        EXPECT_EQ(first_word(c.line, word), c.has) << c.line;
        EXPECT_STREQ(word, c.word) << c.line;
    }
}

TEST(LogLine, KeepsTwentyCharactersAndTheNewlineOnlyIfItFits) {
    std::FILE* log = std::tmpfile();
    log_line(log, "new\n");
    log_line(log, "usermove e2e4 and some more text\n");  // 34 characters
    log_line(log, "0123456789012345678\n");             // 19 + newline = 20: fits
    log_line(log, "01234567890123456789\n");            // 20 + newline: does not
    log_line(log, "quit");                               // a last line without newline
    std::rewind(log);
    char buf[256] = {};
    const std::size_t n = std::fread(buf, 1, sizeof buf - 1, log);
    std::fclose(log);
    EXPECT_EQ(std::string(buf, n),
              "new\nusermove e2e4 and so0123456789012345678\n01234567890123456789quit");
    log_line(nullptr, "new\n");  // no log: nothing happens
}

TEST(UsermoveText, ReadsFromColumnNineToTheNextBlank) {
    struct Case { const char* line; const char* text; };
    const Case cases[] = {
        {"usermove e2e4\n", "e2e4"},
        {"usermove e7e8q\n", "e7e8q"},
        {"usermove e2e4 extra\n", "e2e4"},
        {"usermove e2e4\r\n", "e2e4"},
        {"usermovee2e4\n", "2e4"},  // no separator: column 9 is still where the text starts
        {"usermove\n", ""},
        {"usermove", ""},
        {"usermove \n", ""},
    };
    for (const Case& c : cases) {
        char text[LINE_SIZE];
        usermove_text(c.line, text);
        EXPECT_STREQ(text, c.text) << c.line;
    }
}

TEST(TimeValue, ReadsTheNumberFromTheSixthCharacter) {
    struct Case { const char* line; bool ok; u32 value; };
    const Case cases[] = {
        {"time 100\n", true, 100},
        {"time   30000\n", true, 30000},
        {"time 0\n", true, 0},
        {"time 99999999999\n", true, 0xFFFFFFFFu},
        {"time\n", false, 7},
        {"time", false, 7},
        {"time x\n", false, 7},
        {"time -5\n", false, 7},
    };
    for (const Case& c : cases) {
        u32 v = 7;
        EXPECT_EQ(time_value(c.line, v), c.ok) << c.line;
        EXPECT_EQ(v, c.value) << c.line;
    }
}

class PositionTest : public ::testing::Test {
protected:
    static void set(const char* board) {
        for (i8& b : POS.PL) b = BORDER;
        load_text(board, POS.PL, POS.WYJ);
        skroctablice(m31::SCALE);
    }
};

constexpr const char* START =
    "wsghkgsw\npppppppp\n........\n........\n........\n........\nPPPPPPPP\nWSGHKGSW\n3 3 0 0\n";

// Both sides keep both castling rights; White's pawn b7 promotes on b8 or by
// taking the rook on a8 (and guards c8, so Black may not castle long); e5 may
// take the pawn that has just come to d5 en passant.
constexpr const char* TACTICAL =
    "w...k..w\n"
    ".P......\n"
    "........\n"
    "...pP...\n"
    "........\n"
    "........\n"
    "........\n"
    "W...K..W\n"
    "3 3 0 64\n";

TEST_F(PositionTest, OpponentMovesAreCheckedAgainstTheLegalMoves) {
    struct Case { const char* board; Side mover; const char* text; bool ok; int from; int x2; };
    const Case cases[] = {
        {START, Side::White, "e2e4", true, 25, 45},
        {START, Side::White, "g1f3", true, 17, 36},
        {START, Side::White, "e2e5", false, 0, 0},   // not a pawn move
        {START, Side::White, "e7e5", false, 0, 0},   // the opponent's piece
        {START, Side::White, "e4e5", false, 0, 0},   // an empty origin
        {START, Side::Black, "e7e5", true, 75, 55},
        {START, Side::Black, "e2e4", false, 0, 0},
        {START, Side::White, "e1g1", false, 0, 0},   // castling through pieces
        {START, Side::White, "e2e4q", false, 0, 0},  // a piece letter on an ordinary move
        {START, Side::White, "e2e", false, 0, 0},
        {START, Side::White, "e2e4e5", false, 0, 0},
        {START, Side::White, "i2i4", false, 0, 0},
        {START, Side::White, "e9e4", false, 0, 0},
        {START, Side::White, "E2E4", false, 0, 0},
        {START, Side::White, "", false, 0, 0},
        // Castling text is the king's move and becomes the rook's castling move.
        {TACTICAL, Side::White, "e1g1", true, 18, CASTLE_SHORT},
        {TACTICAL, Side::White, "e1c1", true, 11, CASTLE_LONG},
        {TACTICAL, Side::Black, "e8g8", true, 88, CASTLE_SHORT},
        {TACTICAL, Side::Black, "e8c8", false, 0, 0},  // onto a guarded square
        {TACTICAL, Side::White, "h1g1", true, 18, 17},  // the rook itself, one step
        // Promotion: no letter or q is a queen; other pieces are refused.
        {TACTICAL, Side::White, "b7b8", true, 72, 82},
        {TACTICAL, Side::White, "b7b8q", true, 72, 82},
        {TACTICAL, Side::White, "b7a8q", true, 72, 81},
        {TACTICAL, Side::White, "b7c8", false, 0, 0},
        {TACTICAL, Side::White, "b7b8n", false, 0, 0},
        {TACTICAL, Side::White, "b7b8b", false, 0, 0},
        {TACTICAL, Side::White, "b7b8r", false, 0, 0},
        {TACTICAL, Side::White, "b7b8Q", false, 0, 0},
        // En passant onto the square in WYJ[3].
        {TACTICAL, Side::White, "e5d6", true, 55, 64},
        {TACTICAL, Side::White, "e5f6", false, 0, 0},
    };
    for (const Case& c : cases) {
        set(c.board);
        i8 before[100];
        std::copy(std::begin(POS.PL), std::end(POS.PL), before);
        Move m{};
        const bool ok = find_opponent_move(c.mover, c.text, m);
        EXPECT_EQ(ok, c.ok) << c.text;
        EXPECT_TRUE(std::equal(std::begin(POS.PL), std::end(POS.PL), before)) << c.text;
        if (!ok || !c.ok) continue;
        const i8* list = c.mover == Side::White ? POS.BP : POS.CP;
        EXPECT_EQ(list[2 * m.nr + 1], c.from) << c.text;
        EXPECT_EQ(m.x2, c.x2) << c.text;
    }
}

TEST_F(PositionTest, CastlingWithoutTheRightIsNotAMove) {
    set("w...k..w\n........\n........\n........\n........\n........\n........\nW...K..W\n2 1 0 0\n");
    Move m{};
    EXPECT_FALSE(find_opponent_move(Side::White, "e1g1", m));  // only the long right
    EXPECT_TRUE(find_opponent_move(Side::White, "e1c1", m));
    EXPECT_TRUE(find_opponent_move(Side::Black, "e8g8", m));
    EXPECT_FALSE(find_opponent_move(Side::Black, "e8c8", m));
}

TEST_F(PositionTest, AMoveThatLeavesTheKingAttackedIsRefused) {
    // The e-file rook pins the e2 knight; the king itself may step aside.
    set("....w..k\n........\n........\n........\n........\n........\n....S...\n....K...\n0 0 0 0\n");
    Move m{};
    EXPECT_FALSE(find_opponent_move(Side::White, "e2c3", m));
    EXPECT_TRUE(find_opponent_move(Side::White, "e1d1", m));
}

TEST_F(PositionTest, NoMoveIsMateInCheckAndStalemateOtherwise) {
    // Black king h8 behind its pawns, White rook on the back rank.
    set("W......k\n......pp\n........\n........\n........\n........\n........\n....K...\n0 0 0 0\n");
    EXPECT_STREQ(no_move_result(Side::Black), "1-0 {White mates}\n");
    // White king h1 behind its pawns, Black rook on the first rank.
    set("k.......\n........\n........\n........\n........\n........\n......PP\nw......K\n0 0 0 0\n");
    EXPECT_STREQ(no_move_result(Side::White), "0-1 {Black mates}\n");
    // Black king a8, White king b6 and queen c7: no move, no check.
    set("k.......\n..H.....\n.K......\n........\n........\n........\n........\n........\n0 0 0 0\n");
    EXPECT_STREQ(no_move_result(Side::Black), "1/2-1/2 {Stalemate}\n");
}

}  // namespace
}  // namespace morvelak::test
