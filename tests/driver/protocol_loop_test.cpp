// The command loop and start-up driven with the stand-in engine, in the
// engine's own command set ("new", "white", "black", "time", "usermove",
// "remove", "quit").
#include <algorithm>

#include "tests/driver/stand_in.hpp"

namespace morvelak::test {
namespace {


TEST_F(LoopTest, AnOpponentMoveIsMadeRecordedAndAnswered) {
    board(START);
    preferred = {"e7e5"};
    EXPECT_EQ(run("xboard\nprotover 2\nnew\ntime 100\nusermove e2e4\nquit\n"), 0);
    EXPECT_EQ(out, "feature usermove=1\nfeature reuse=0\n" +
                       protover_features("STAND-IN 31") + "move e7e5\n");
    EXPECT_EQ(log, "protover 2\nnew\ntime 100\nusermove e2e4\nquit\n");
    EXPECT_EQ(rec, "e2e4 [e7e5]\n");
    EXPECT_EQ(GAME.TC, 100u);
    EXPECT_EQ(GAME.R, 2);
    EXPECT_EQ(GAME.perPly.PLZAP[1][45], W_PAWN);
    EXPECT_EQ(GAME.perPly.PLZAP[1][75], B_PAWN);
    EXPECT_EQ(GAME.perPly.PLZAP[2][55], B_PAWN);
}

TEST_F(LoopTest, HooksRunInTheGamesOrder) {
    board(START);
    run("new\nusermove e2e4\n");
    const std::vector<std::string> expected = {
        // start-up: rebuild before the first set-up, history entry 0
        "new", "rebuild", "setup",
        // "new"
        "new",
        // the opponent's move: preparation, made, stored
        "setup", "rebuild", "ply W",
        // the answer: preparation, search, stored
        "setup", "rebuild", "engine B", "ply B"};
    EXPECT_EQ(events, expected);
}

TEST_F(LoopTest, EveryGamePositionEntersTheKeyWindowOnceInOrder) {
    board(START);
    preferred = {"e7e5"};
    run("new\nusermove e2e4\nquit\n");
    const u32 afterReply = KLUCZ();  // the loop ends on the position after e7e5
    EXPECT_NE(KEYS.TRASA[9], 0u);
    EXPECT_NE(KEYS.TRASA[10], 0u);
    EXPECT_NE(KEYS.TRASA[9], KEYS.TRASA[10]);
    EXPECT_NE(KEYS.TRASA[10], afterReply);  // the engine's own result is not pushed yet
    EXPECT_EQ(KEYS.TRASA[8], 0u);           // only two positions were pushed
    EXPECT_EQ(KEYS.TRASA[0], 0u);
    // The window holds the start position, then the one after e2e4.
    load_text(START, POS.PL, POS.WYJ);
    skroctablice(m31::SCALE);
    EXPECT_EQ(KEYS.TRASA[9], KLUCZ());
    i8 zap[8];
    Move m{};
    ASSERT_TRUE(find_opponent_move(Side::White, "e2e4", m));
    zrobruch<Side::White>(zap, m.nr, m.x2);
    EXPECT_EQ(KEYS.TRASA[10], KLUCZ());
}

TEST_F(LoopTest, TheEnginePlaysWhiteOnWhiteAndTheRecordLineClosesWithBlack) {
    board(START);
    preferred = {"g1f3", "b1c3"};
    run("new\ntime 2500\nwhite\ntime 2400\nusermove g8f6\nquit\n");
    EXPECT_EQ(out, "feature usermove=1\nfeature reuse=0\nmove g1f3\nmove b1c3\n");
    EXPECT_EQ(GAME.TB, 2400u);
    EXPECT_EQ(GAME.R, 3);
    EXPECT_EQ(rec, "[g1f3] g8f6 \n[b1c3]");
}

TEST_F(LoopTest, TimeGoesToTheEnginesClockInTheBuildsUnit) {
    board(START);
    run("new\ntime 777\ntimex 5\ntime\nblack\ntime 888\nwhite\ntime 999\nquit\n");
    EXPECT_EQ(GAME.TC, 888u);
    EXPECT_EQ(GAME.TB, 999u);
    run("new\ntime 777\nwhite\ntime 999\nquit\n", LIKE_M26);
    EXPECT_EQ(GAME.TC, 77u);
    EXPECT_EQ(GAME.TB, 99u);
}

TEST_F(LoopTest, IllegalAndMalformedMovesChangeNothing) {
    board(START);
    preferred = {"e7e5"};
    const char* bad[] = {"usermove e2e5\n", "usermove e7e5\n", "usermove e4e5\n", "usermove e2\n",
                         "usermove z2z4\n", "usermove e2e4n\n", "usermovee2e4\n", "usermove\n",
                         "usermove e1g1\n", "usermove e2e4x\n"};
    std::string input = "new\nusermove d2d4\n";
    std::string expected = "feature usermove=1\nfeature reuse=0\nmove e7e5\n";
    for (const char* b : bad) {
        input += b;
        char text[LINE_SIZE];
        usermove_text(b, text);
        expected += std::string("Illegal move: ") + text + "\n";
    }
    input += "quit\n";
    run(input);
    EXPECT_EQ(out, expected);
    EXPECT_EQ(rec, "d2d4 [e7e5]\n");
    EXPECT_EQ(GAME.R, 2);
    // The window holds only the two pushes of the one real move.
    EXPECT_EQ(KEYS.TRASA[8], 0u);
    EXPECT_NE(KEYS.TRASA[9], 0u);
    EXPECT_EQ(POS.PL[44], W_PAWN);
    EXPECT_EQ(POS.PL[55], B_PAWN);
    EXPECT_EQ(POS.PL[25], W_PAWN);
}

TEST_F(LoopTest, ANoMoveEngineAnnouncesMateOrStalemateAndPlaysNothing) {
    // Back-rank mate by the opponent's rook: the engine (Black) has no move.
    board("w......k\n......pp\n........\n........\n........\n........\n........\nW...K...\n0 0 0 0\n");
    run("new\nusermove a1a8\nquit\n");
    EXPECT_NE(out.find("1-0 {White mates}\n"), std::string::npos);
    EXPECT_EQ(out.find("move "), std::string::npos);
    EXPECT_EQ(GAME.R, 1);
    EXPECT_EQ(rec, "a1a8 ");
    // The opponent stalemates the engine.
    board("k.......\n........\n.K......\n........\n........\n........\n........\n..H.....\n0 0 0 0\n");
    run("new\nusermove c1c7\nquit\n");
    EXPECT_NE(out.find("1/2-1/2 {Stalemate}\n"), std::string::npos);
    EXPECT_EQ(out.find("move "), std::string::npos);
    // The engine is asked to play White while mated.
    board("k.......\n........\n........\n........\n........\n........\n......PP\nw......K\n0 0 0 0\n");
    run("new\nwhite\nquit\n");
    EXPECT_EQ(out, "feature usermove=1\nfeature reuse=0\n0-1 {Black mates}\n");
    EXPECT_EQ(GAME.R, 0);
}

TEST_F(LoopTest, RemoveTakesBackTwoPliesAndKeepsTheRecord) {
    board(START);
    preferred = {"e7e5", "d7d5"};
    run("new\nusermove e2e4\nusermove d2d4\nremove\nquit\n");
    EXPECT_EQ(GAME.R, 2);
    EXPECT_EQ(POS.PL[45], W_PAWN);
    EXPECT_EQ(POS.PL[24], W_PAWN);  // d2d4 taken back
    EXPECT_EQ(POS.PL[55], B_PAWN);
    EXPECT_EQ(POS.PL[75], 0);
    EXPECT_EQ(rec, "e2e4 [e7e5]\nd2d4 [d7d5]\n");
    // After the take-back the game goes on from there.
    run("new\nusermove e2e4\nusermove d2d4\nremove\nusermove g1f3\nquit\n");
    EXPECT_EQ(rec, "e2e4 [e7e5]\nd2d4 [d7d5]\ng1f3 [d7d5]\n");
    EXPECT_EQ(GAME.R, 4);
    // Fewer than two plies: stays, restoring the last stored position.
    run("new\nwhite\nremove\nquit\n");
    EXPECT_EQ(GAME.R, 1);
}

TEST_F(LoopTest, ABuildWithoutRemoveIgnoresItAndIsToldTheOpponentsMoves) {
    board("w...k..w\npppppppp\n........\n........\n........\n........\nPPPPPPPP\nW...K..W\n3 3 0 0\n");
    preferred = {"a7a6"};
    run("new\nusermove e1g1\nremove\nquit\n", LIKE_M26);
    EXPECT_EQ(out, "feature usermove=1\nmove a7a6\n");
    EXPECT_EQ(noted, std::vector<std::string>{"W 18 -1"});  // the rook's square, castling code
    EXPECT_EQ(GAME.R, 1);  // one full move
    EXPECT_EQ(POS.PL[17], W_KING);
    EXPECT_EQ(POS.PL[16], W_ROOK);
    EXPECT_EQ(KEYS.TRASA[10], 0u);  // no keys in this build
}

TEST_F(LoopTest, LinesBeforeTheFirstNewDoNoHarm) {
    board(START);
    preferred = {"e7e5"};
    run("usermove e2e4\nremove\ntime 50\nblack\nusermove e2e4\nquit\n");
    // Before "black" the move had no side; after it, it is White's move.
    EXPECT_EQ(out, "feature usermove=1\nfeature reuse=0\nmove e7e5\n");
    EXPECT_EQ(rec, "<none>");  // no record file before "new"
    EXPECT_EQ(POS.PL[45], W_PAWN);
    EXPECT_EQ(GAME.TC, 50u);
    EXPECT_EQ(GAME.R, 2);
}

TEST_F(LoopTest, LogRuleEmptyBlankAndXboardLines) {
    board(START);
    run("xboard\n\n   \nnew\nthis line has thirty characters\nquit\n");
    EXPECT_EQ(log, "   \nnew\nthis line has thirtyquit\n");
}

TEST_F(LoopTest, TheRestOfAnOverlongLineIsNotACommand) {
    board(START);
    run("new\n" + std::string(255, ' ') + "quit\nwhite\nquit\n");
    EXPECT_NE(out.find("move "), std::string::npos);
}

TEST_F(LoopTest, EndOfInputClosesEverythingAsQuitDoes) {
    board(START);
    preferred = {"e7e5"};
    EXPECT_EQ(run("new\nusermove e2e4"), 0);  // a last line without newline
    EXPECT_EQ(rec, "e2e4 [e7e5]\n");
    EXPECT_EQ(log, "new\nusermove e2e4");
    EXPECT_EQ(GAME.zapisparti, nullptr);
}

TEST_F(LoopTest, AMissingBoardFileGivesTheStandardPosition) {
    // No plansza1.txt in the folder.
    preferred = {"e7e5"};
    run("new\nusermove e2e4\nquit\n");
    EXPECT_EQ(out, "feature usermove=1\nfeature reuse=0\nmove e7e5\n");
    EXPECT_EQ(POS.PL[85], B_KING);
}

TEST_F(LoopTest, AMissingLogLocationOnlyLosesTheLog) {
    board(START);
    fs::create_directory(LOG_FILE);  // a folder where the log should be: it cannot be opened
    preferred = {"e7e5"};
    run("new\nusermove e2e4\nquit\n");
    EXPECT_EQ(out, "feature usermove=1\nfeature reuse=0\nmove e7e5\n");
    EXPECT_EQ(rec, "e2e4 [e7e5]\n");
}

TEST_F(LoopTest, AGameLongerThanTheHistoryGoesOnWithoutWritingPastIt) {
    board("....k.s.\n........\n........\n........\n........\n........\n........\n....K.S.\n0 0 0 0\n");
    preferred = {"g8f6", "f6g8"};
    std::string input = "new\n";
    for (int k = 0; k < 150; ++k) input += "usermove g1f3\nusermove f3g1\n";  // 600 plies
    input += "remove\nusermove g1f3\nquit\n";
    run(input);
    EXPECT_EQ(GAME.R, 600);
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 2 + 301);
    // Entry 511 (after ply 511: White's knight back on g1, Black's on f6) was
    // the last one stored.
    EXPECT_EQ(GAME.perPly.PLZAP[HISTORY_PLIES - 1][17], W_KNIGHT);
    EXPECT_EQ(GAME.perPly.PLZAP[HISTORY_PLIES - 1][66], B_KNIGHT);
}

}  // namespace
}  // namespace morvelak::test
