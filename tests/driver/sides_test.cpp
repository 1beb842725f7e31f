// Whose turn it is, whatever the interface sends: the engine moves only for
// the colour it plays and only when that colour is on move; an opponent move
// for the colour not on move is refused; a take-back is made whole or not at
// all, and an interface of the newer protocol is told when it is not.
#include <algorithm>
#include <cerrno>

#include "tests/driver/stand_in.hpp"

namespace morvelak::test {
namespace {

const std::string HEAD = "feature usermove=1\nfeature reuse=0\n";

std::string answer(const BuildPolicy& p) {
    return protover_features(announced_name(p, program_invocation_short_name));
}

class SidesTest : public LoopTest {};

// Each sequence with the whole output expected after the start-up lines;
// "P2" in `out` stands for the answer to "protover 2".
struct Case {
    const char* name;
    const char* input;
    std::vector<std::string> preferred;
    const char* out;
};

TEST_F(SidesTest, TheEngineMovesOnlyForItsColourWhenThatColourIsOnMove) {
    const Case cases[] = {
        // The first sequence: a second "white" with Black on move
        // waits for Black's move, and answers it.
        {"white twice", "protover 2\nnew\ntime 50\nwhite\ntime 50\nwhite\nusermove e7e5\nquit\n",
         {"g1f3", "b1c3"}, "P2move g1f3\nmove b1c3\n"},
        // The second: "white" after 1. e4 in force mode waits for Black.
        {"white with Black on move", "protover 2\nforce\nusermove e2e4\ntime 50\nwhite\nusermove e7e5\nquit\n",
         {"g1f3"}, "P2move g1f3\n"},
        {"black twice", "new\nblack\nblack\nusermove e2e4\nquit\n", {"e7e5"}, "move e7e5\n"},
        {"black twice on move, then go", "protover 2\nnew\nforce\nusermove e2e4\nblack\nblack\ngo\nquit\n",
         {"e7e5"}, "P2move e7e5\n"},
        // "go" gives the engine the colour on move, whatever it played.
        {"go with the engine's colour not on move", "new\nusermove e2e4\ngo\nquit\n", {"e7e5", "g1f3"},
         "move e7e5\nmove g1f3\n"},
        {"black then go", "new\nblack\ngo\nquit\n", {"e7e5", "g1f3"}, "move g1f3\n"},
        // "white" waited; "go" then plays the colour on move, Black.
        {"white then go, Black on move", "protover 2\nnew\nforce\nusermove e2e4\nwhite\ngo\nquit\n",
         {"e7e5", "g1f3"}, "P2move e7e5\n"},
        {"white then go, White on move", "new\nwhite\ngo\nquit\n", {"e7e5", "g1f3"}, "move g1f3\n"},
        // Only the start the last "white" made passes a "go" over.
        {"white, white waiting, go", "new\nwhite\nwhite\ngo\nquit\n", {"e7e5", "g1f3"},
         "move g1f3\nmove e7e5\n"},
        // The opponent's move for the engine's own colour.
        {"a White move while the engine plays White", "new\nwhite\nusermove d2d4\nusermove e7e5\nquit\n",
         {"g1f3", "b1c3"}, "move g1f3\nIllegal move: d2d4\nmove b1c3\n"},
        {"a Black move while the engine plays Black", "new\nusermove e2e4\nusermove e7e5\nusermove d2d4\nquit\n",
         {"e7e5", "d7d5"}, "move e7e5\nIllegal move: e7e5\nmove d7d5\n"},
        {"a move after black on Black's turn", "protover 2\nnew\nforce\nusermove e2e4\nblack\nusermove d2d4\nquit\n",
         {"e7e5"}, "P2Illegal move: d2d4\n"},
    };
    board(START);
    for (const Case& c : cases) {
        preferred = c.preferred;
        run(c.input);
        std::string expected = c.out;
        if (expected.compare(0, 2, "P2") == 0) expected = answer(LIKE_M31) + expected.substr(2);
        EXPECT_EQ(out, HEAD + expected) << c.name;
        // The stand-in engine was asked only for the colour on move.
        int plies = 0;
        for (const std::string& e : events) {
            if (e == "ply W" || e == "ply B") ++plies;
            if (e == "engine W") {
                EXPECT_EQ(plies % 2, 0) << c.name;
            } else if (e == "engine B") {
                EXPECT_EQ(plies % 2, 1) << c.name;
            }
        }
    }
}

TEST_F(SidesTest, AMoveRefusedForTheWrongSideChangesNothing) {
    board(START);
    preferred = {"g1f3"};
    run("new\nwhite\nusermove d2d4\nquit\n");
    EXPECT_EQ(rec, "[g1f3]");
    EXPECT_EQ(GAME.R, 1);
    EXPECT_EQ(POS.PL[24], W_PAWN);
    EXPECT_EQ(POS.PL[44], EMPTY);
    // After the engine has been stalemated nobody is on move but Black, and
    // White's next move is not taken as a second White move.
    board("k.......\n........\n.K......\n........\n........\n........\n........\n..H.....\n0 0 0 0\n");
    run("new\nusermove c1c7\nusermove b6b5\nquit\n");
    EXPECT_EQ(out, HEAD + "1/2-1/2 {Stalemate}\nIllegal move: b6b5\n");
    EXPECT_EQ(POS.PL[62], W_KING);
    EXPECT_EQ(GAME.R, 1);
}

// m31's own take-back bound: a ply can be undone only while the position
// before it was stored.
bool bounded_undo(Side) {
    if (GAME.R <= 0 || GAME.R - 1 >= HISTORY_PLIES) return false;
    history_remove_one();
    return true;
}

TEST_F(SidesTest, ATakeBackIsWholeOrRefused) {
    board(START);
    preferred = {"g1f3"};
    // One ply played: "remove" cannot take two; nothing changes.
    run("protover 2\nnew\nwhite\nremove\nundo\nquit\n");
    EXPECT_EQ(out, HEAD + answer(LIKE_M31) +
                       "move g1f3\nError (cannot take back): remove\nError (command not legal now): undo\n");
    EXPECT_EQ(GAME.R, 1);
    EXPECT_EQ(POS.PL[36], W_KNIGHT);
    // The engine's own sessions are refused in silence, as they always were.
    run("new\nwhite\nremove\nquit\n");
    EXPECT_EQ(out, HEAD + "move g1f3\n");
    EXPECT_EQ(POS.PL[36], W_KNIGHT);
    // Undo in force mode: the second has nothing left.
    run("protover 2\nnew\nforce\nusermove e2e4\nundo\nundo\nusermove d2d4\nquit\n");
    EXPECT_EQ(out, HEAD + answer(LIKE_M31) + "Error (cannot take back): undo\n");
    EXPECT_EQ(POS.PL[44], W_PAWN);
    EXPECT_EQ(POS.PL[25], W_PAWN);
}

TEST_F(SidesTest, ATakeBackBeyondTheStoredHistoryIsRefused) {
    board("....k.s.\n........\n........\n........\n........\n........\n........\n....K.S.\n0 0 0 0\n");
    BuildPolicy bounded = LIKE_M31;
    bounded.history_undo = bounded_undo;
    struct Shape { const BuildPolicy* policy; int cycles; };  // 4 plies a cycle
    const Shape shapes[] = {{&bounded, 150}, {&LIKE_M28, 80}};
    for (const Shape& shape : shapes) {
        std::string input = "protover 2\nnew\nforce\n";
        for (int k = 0; k < shape.cycles; ++k) input += "usermove g1f3\nusermove g8f6\nusermove f3g1\nusermove f6g8\n";
        // Past the history: both refused, the board stays; "go" plays White.
        input += "undo\nremove\ngo\nquit\n";
        preferred = {"e1d1"};
        run(input, *shape.policy);
        EXPECT_EQ(out, HEAD + answer(*shape.policy) + "Error (cannot take back): undo\n"
                                                      "Error (cannot take back): remove\nmove e1d1\n");
        EXPECT_EQ(POS.PL[14], W_KING);
        EXPECT_EQ(POS.PL[87], B_KNIGHT);
    }
    // Within it the same take-back is made.
    preferred = {"e1d1"};
    run("protover 2\nnew\nforce\nusermove g1f3\nusermove g8f6\nremove\ngo\nquit\n", bounded);
    EXPECT_EQ(out, HEAD + answer(bounded) + "move e1d1\n");
    EXPECT_EQ(POS.PL[17], W_KNIGHT);
    EXPECT_EQ(POS.PL[87], B_KNIGHT);
}

TEST_F(SidesTest, ABuildWithoutRemoveTakesBackForANewerInterface) {
    board(START);
    preferred = {"e7e5"};
    // The engine's own session: the word is ignored, as before.
    run("new\nusermove e2e4\nremove\nusermove d2d4\nquit\n", LIKE_M26);
    EXPECT_EQ(out.substr(0, 29), "feature usermove=1\nmove e7e5\n");
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 3);
    EXPECT_EQ(POS.PL[45], W_PAWN);
    // After "protover 2" the two plies go back, and 1. d4 can be played.
    run("protover 2\nnew\nusermove e2e4\nremove\nusermove d2d4\nquit\n", LIKE_M26);
    EXPECT_EQ(out, "feature usermove=1\n" + answer(LIKE_M26) + "move e7e5\nmove e7e5\n");
    EXPECT_EQ(POS.PL[25], W_PAWN);
    EXPECT_EQ(POS.PL[44], W_PAWN);
    EXPECT_EQ(POS.PL[55], B_PAWN);
    EXPECT_EQ(GAME.R, 1);
}

}  // namespace
}  // namespace morvelak::test
