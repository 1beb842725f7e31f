// The board file at start-up and on "new": a position no game can start
// from is refused the way "setboard" refuses it, the reason goes to standard
// error, and the engine plays from the standard position.
#include "tests/driver/stand_in.hpp"

namespace morvelak::test {
namespace {

class BoardFileTest : public LoopTest {};

TEST_F(BoardFileTest, AnUnplayableOrUnreadableFileGivesTheStandardPosition) {
    struct Case {
        const char* name;
        const char* board;  // null: a folder under the file's name
        const char* said;   // null: accepted
    };
    const Case cases[] = {
        {"kings side by side", "........\n........\n........\n...kK...\n........\n........\n........\n........\n0 0 0 0\n",
         "has the two kings side by side"},
        {"Black in check, White to move",
         "....k...\n........\n........\n........\n........\n........\n........\n....W..K\n0 0 0 0\n",
         "has Black's king in check with White to move"},
        {"folder", nullptr, "cannot be read (it is a folder)"},
        {"White in check is White's to answer",
         "....w..k\n........\n........\n........\n........\n........\n........\n....K...\n0 0 0 0\n", nullptr},
    };
    preferred = {"e1d1", "g1f3"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(BOARD_FILE);
        if (c.board) board(c.board);
        else fs::create_directory(BOARD_FILE);
        ::testing::internal::CaptureStderr();
        run("new\nwhite\nquit\n");
        const std::string said = ::testing::internal::GetCapturedStderr();
        if (c.said) {
            EXPECT_NE(said.find(c.said), std::string::npos) << said;
            EXPECT_NE(said.find("playing from the standard start position instead"), std::string::npos) << said;
            EXPECT_EQ(out, "feature usermove=1\nfeature reuse=0\nmove g1f3\n");
            EXPECT_EQ(POS.PL[85], B_KING);
            EXPECT_EQ(POS.PL[14], W_QUEEN);
        } else {
            EXPECT_EQ(said, "");
            EXPECT_EQ(out, "feature usermove=1\nfeature reuse=0\nmove e1d1\n");
        }
    }
}

}  // namespace
}  // namespace morvelak::test
