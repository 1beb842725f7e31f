// morvelak31 as an interface sees it: its features, answers, thinking lines,
// game record and protocol log, on small fixed positions and a low clock so
// that every search is short.
#include "tests/programs/support.hpp"

#include <cstdio>

namespace morvelak::test {
namespace {

using Morvelak31 = HistoricalClock;

// A thinking line: "%d %d 1 1 " with depth and score, then the principal
// variation.
bool thinking(const std::string& line, int& depth) {
    int score = 0;
    if (std::sscanf(line.c_str(), "%d %d", &depth, &score) != 2) return false;
    const std::string prefix = std::to_string(depth) + " " + std::to_string(score) + " 1 1 ";
    return line.size() > prefix.size() && line.compare(0, prefix.size(), prefix) == 0 &&
           line[prefix.size()] != ' ';
}

TEST_F(Morvelak31, AnnouncesItsFeaturesAndLogsAllButXboard) {
    const Outcome o = run("xboard\nprotover 2\n\nnew\n   \naccepted usermove\nquit\n");
    EXPECT_EQ(o.rc, 0);
    EXPECT_EQ(o.out, FEATURES + protover_answer("morvelak31"));
    EXPECT_EQ(o.log, "protover 2\nnew\n   \naccepted usermove\nquit\n");
    EXPECT_EQ(o.record, "");  // opened by "new", nothing played
}

TEST_F(Morvelak31, AnswersAsBlackWithThinkingLinesAndARecordLine) {
    const Outcome o = run("xboard\nnew\ntime 100\notim 100\nusermove e2e4\nquit\n");
    EXPECT_EQ(o.rc, 0);
    ASSERT_EQ(o.out.substr(0, FEATURES.size()), FEATURES);
    const auto moves = moves_of(o);
    ASSERT_EQ(moves.size(), 1u);
    ASSERT_GE(o.lines.size(), 4u);
    EXPECT_EQ(o.lines.back(), "move " + moves[0]);
    // Between the features and the move: thinking lines, depths never falling.
    int depth = 0;
    for (std::size_t i = 2; i + 1 < o.lines.size(); ++i) {
        int d = 0;
        ASSERT_TRUE(thinking(o.lines[i], d)) << o.lines[i];
        EXPECT_GE(d, depth);
        depth = d;
    }
    EXPECT_GE(depth, 5);
    // Opponent's move and blank, then depth, move, score, seconds.tenths.
    EXPECT_TRUE(matches(o.record, "e2e4 # " + moves[0] + " ~ #.#\n")) << o.record;
}

TEST_F(Morvelak31, AsWhiteItsPartOpensTheRecordLineAndTheReplyClosesIt) {
    // Whatever White plays, h7h6 stays legal.
    board("....k...\n.......p\n........\n........\n........\n........\nP.......\n....K...\n0 0 0 0\n");
    const Outcome o = run("new\ntime 100\nwhite\ntime 95\nusermove h7h6\nquit\n");
    EXPECT_EQ(o.rc, 0);
    const auto moves = moves_of(o);
    ASSERT_EQ(moves.size(), 2u);
    // Depth, move, score, seconds.tenths and nodes, then the reply.
    const std::string part = "# @ ~ #.# #";
    EXPECT_TRUE(matches(o.record, part + " h7h6 \n" + part)) << o.record;
    EXPECT_EQ(o.record.substr(o.record.find(' ') + 1, 4), moves[0]);
}

TEST_F(Morvelak31, TheLogKeepsTwentyCharactersOfEachLine) {
    const Outcome o = run("xboard\nnew\nthis line has thirty characters\nquit\n");
    EXPECT_EQ(o.log, "new\nthis line has thirtyquit\n");
}

TEST_F(Morvelak31, TheRestOfAnOverlongLineIsNeverACommand) {
    const Outcome o = run("new\n" + std::string(255, 'a') + "quit\ntime 100\nusermove e2e4\nquit\n");
    EXPECT_EQ(o.rc, 0);
    EXPECT_EQ(moves_of(o).size(), 1u);
    EXPECT_EQ(o.log.substr(0, 4 + 20), "new\n" + std::string(20, 'a'));
}

TEST_F(Morvelak31, IllegalAndMalformedMovesAreRefusedAndChangeNothing) {
    const Outcome o = run(
        "new\ntime 100\nusermove e2e5\nusermove e7e5\nusermove e2e4n\nusermove e2\n"
        "usermovee2e4\nusermove e1g1\nusermove z2z4\nusermove e2e4\nquit\n");
    EXPECT_EQ(o.rc, 0);
    const std::string refusals =
        "Illegal move: e2e5\nIllegal move: e7e5\nIllegal move: e2e4n\nIllegal move: e2\n"
        "Illegal move: 2e4\nIllegal move: e1g1\nIllegal move: z2z4\n";
    EXPECT_EQ(o.out.substr(0, FEATURES.size() + refusals.size()), FEATURES + refusals);
    EXPECT_EQ(moves_of(o).size(), 1u);  // only the legal e2e4 is answered
    EXPECT_EQ(o.record.substr(0, 5), "e2e4 ");
    EXPECT_EQ(count_of(o.record, "\n"), 1);
}

TEST_F(Morvelak31, OpponentCastlingIsTheKingsMoveAndMovesTheRook) {
    board("k.......\n.......p\n........\n........\n........\n........\n........\n....K..W\n1 0 0 0\n");
    // f1f2 is legal only with the rook on f1.
    const Outcome o = run("new\ntime 100\nusermove e1g1\ntime 100\nusermove f1f2\nquit\n");
    EXPECT_EQ(count_of(o.out, "Illegal"), 0) << o.out;
    EXPECT_EQ(moves_of(o).size(), 2u);
    EXPECT_EQ(o.record.substr(0, 5), "e1g1 ");
    // Without the right the same text is no move at all.
    board("k.......\n.......p\n........\n........\n........\n........\n........\n....K..W\n0 0 0 0\n");
    const Outcome n = run("new\ntime 100\nusermove e1g1\nquit\n");
    EXPECT_EQ(n.out, FEATURES + "Illegal move: e1g1\n");
}

TEST_F(Morvelak31, BlackCastlingLongClosesTheLineAfterTheEnginesMove) {
    board("w...k..w\n........\n........\n........\n........\n........\n.......P\nK.......\n0 3 0 0\n");
    const Outcome o = run("new\ntime 100\nwhite\ntime 100\nusermove e8c8\ntime 100\nusermove d8d7\nquit\n");
    EXPECT_EQ(count_of(o.out, "Illegal"), 0) << o.out;
    EXPECT_EQ(moves_of(o).size(), 3u);
    EXPECT_NE(o.record.find(" e8c8 \n"), std::string::npos) << o.record;
    EXPECT_NE(o.record.find(" d8d7 \n"), std::string::npos) << o.record;
}

TEST_F(Morvelak31, OpponentPromotionIsToAQueenWithOrWithoutTheLetter) {
    const std::string pos =
        "........\nP.......\n.......k\n........\n........\n........\n........\n....K...\n0 0 0 0\n";
    for (const char* text : {"a7a8q", "a7a8"}) {
        board(pos);
        // a8a1 is a queen's (or rook's) move, never a knight's.
        const Outcome o = run(std::string("new\ntime 100\nusermove ") + text +
                              "\ntime 100\nusermove a8a1\nquit\n");
        EXPECT_EQ(count_of(o.out, "Illegal"), 0) << text << "\n" << o.out;
        EXPECT_EQ(moves_of(o).size(), 2u) << text;
        EXPECT_EQ(o.record.substr(0, 5), "a7a8 ") << text;
    }
    board(pos);
    const Outcome o = run("new\nusermove a7a8n\nusermove a7a8b\nusermove a7a8r\nquit\n");
    EXPECT_EQ(o.out, FEATURES + "Illegal move: a7a8n\nIllegal move: a7a8b\nIllegal move: a7a8r\n");
    EXPECT_EQ(o.record, "");
}

TEST_F(Morvelak31, EnginePromotionIsWrittenWithoutALetter) {
    // White's king has no square; b7b8 is White's only move.
    board("........\n.P......\n........\n........\n........\n......p.\n.....k..\n.......K\n0 0 0 0\n");
    const Outcome o = run("new\ntime 100\nwhite\nquit\n");
    EXPECT_EQ(o.out, FEATURES + "move b7b8\n");
}

TEST_F(Morvelak31, OpponentEnPassantRemovesThePawnPassedBy) {
    const std::string pos =
        "...k....\n........\n........\n...pP...\n...P....\n........\n........\nK.......\n0 0 0 ";
    board(pos + "64\n");
    // d4d5 is legal only once the d5 pawn has been taken.
    const Outcome o = run("new\ntime 100\nusermove e5d6\ntime 100\nusermove d4d5\nquit\n");
    EXPECT_EQ(count_of(o.out, "Illegal"), 0) << o.out;
    EXPECT_EQ(moves_of(o).size(), 2u);
    EXPECT_EQ(o.record.substr(0, 5), "e5d6 ");
    board(pos + "0\n");
    const Outcome n = run("new\nusermove e5d6\nquit\n");
    EXPECT_EQ(n.out, FEATURES + "Illegal move: e5d6\n");
}

TEST_F(Morvelak31, EngineEnPassantIsItsOnlyMoveAfterTheDoubleStep) {
    // Black's king is boxed in and its pawn blocked: after d2d4 only e4xd3.
    board(".......k\n.....K..\n......P.\n........\n....p...\n....S...\n...P....\n........\n0 0 0 0\n");
    const Outcome o = run("new\ntime 100\nusermove d2d4\ntime 100\nusermove d4d5\nquit\n");
    EXPECT_EQ(o.out, FEATURES + "move e4d3\nIllegal move: d4d5\n");
}

TEST_F(Morvelak31, WithoutALegalMoveItAnnouncesTheResultInsteadOfMoving) {
    struct Case { const char* board; const char* input; const char* result; };
    const Case cases[] = {
        {"w......k\n......pp\n........\n........\n........\n........\n........\nW...K...\n0 0 0 0\n",
         "new\nusermove a1a8\nquit\n", "1-0 {White mates}\n"},
        {"k.......\n........\n.K......\n........\n........\n........\n........\n..H.....\n0 0 0 0\n",
         "new\nusermove c1c7\nquit\n", "1/2-1/2 {Stalemate}\n"},
        {"k.......\n........\n........\n........\n........\n........\n......PP\nw......K\n0 0 0 0\n",
         "new\nwhite\nquit\n", "0-1 {Black mates}\n"},
    };
    for (const Case& c : cases) {
        board(c.board);
        const Outcome o = run(c.input);
        EXPECT_EQ(o.rc, 0);
        EXPECT_EQ(o.out, FEATURES + c.result) << c.input;
    }
}

TEST_F(Morvelak31, RemoveTakesBackBothPliesAndLeavesTheRecord) {
    const Outcome o = run(
        "new\ntime 100\nusermove e2e4\nremove\ntime 100\nusermove e2e4\nremove\ntime 100\n"
        "usermove d2d4\nquit\n");
    EXPECT_EQ(o.rc, 0);
    EXPECT_EQ(count_of(o.out, "Illegal"), 0) << o.out;
    EXPECT_EQ(moves_of(o).size(), 3u);
    const auto rec = split_lines(o.record);
    ASSERT_EQ(rec.size(), 3u);
    EXPECT_EQ(rec[0].substr(0, 5), "e2e4 ");
    EXPECT_EQ(rec[1].substr(0, 5), "e2e4 ");
    EXPECT_EQ(rec[2].substr(0, 5), "d2d4 ");
}

TEST_F(Morvelak31, EndOfInputWithoutQuitLosesNothing) {
    const Outcome o = run("new\ntime 100\nusermove e2e4\n");
    EXPECT_EQ(o.rc, 0);
    EXPECT_EQ(moves_of(o).size(), 1u);
    EXPECT_TRUE(matches(o.record, "e2e4 # @ ~ #.#\n")) << o.record;
    EXPECT_EQ(o.log, "new\ntime 100\nusermove e2e4\n");
}

TEST_F(Morvelak31, LinesBeforeTheFirstNewDoNoHarm) {
    const Outcome o = run("usermove e2e4\nremove\ntime 100\nquit\n");
    EXPECT_EQ(o.rc, 0);
    EXPECT_EQ(o.out, FEATURES);
    EXPECT_EQ(o.record, "<none>");
    const Outcome p = run("usermove e2e4\nremove\nnew\ntime 100\nusermove e2e4\nquit\n");
    EXPECT_EQ(count_of(p.out, "Illegal"), 0);
    EXPECT_EQ(moves_of(p).size(), 1u);
}

TEST_F(Morvelak31, WithoutABoardFileItPlaysFromTheStandardPosition) {
    fs::remove(dir / "plansza1.txt");
    const Outcome o = run("new\ntime 100\nusermove e2e4\nquit\n");
    EXPECT_EQ(o.rc, 0);
    EXPECT_NE(o.err.find("plansza1.txt"), std::string::npos);
    EXPECT_EQ(moves_of(o).size(), 1u);
    EXPECT_EQ(count_of(o.out, "Illegal"), 0);
}

TEST_F(Morvelak31, WithoutAPlaceForTheLogItStillPlays) {
    fs::create_directory(dir / "zapiswinbord.txt");
    const Outcome o = run("new\ntime 100\nusermove e2e4\nquit\n");
    EXPECT_EQ(o.rc, 0);
    EXPECT_EQ(moves_of(o).size(), 1u);
}

TEST_F(Morvelak31, AGameLongerThanTheHistoryGoesOn) {
    // Black's king has exactly one square from a8 (b8) and from b8 (a8), so
    // the engine answers at once; White shuffles its rook.  600 plies, then a
    // take-back beyond the stored range and one more move.
    board("k.......\n...P....\nPP......\n........\n........\n........\n........\n....K..W\n0 0 0 0\n");
    std::string input = "new\n";
    for (int k = 0; k < 150; ++k) input += "usermove h1h2\nusermove h2h1\n";
    input += "remove\nusermove h1h2\nquit\n";
    const Outcome o = run(input);
    EXPECT_EQ(o.rc, 0);
    EXPECT_EQ(count_of(o.out, "Illegal"), 0);
    const auto moves = moves_of(o);
    ASSERT_EQ(moves.size(), 301u);
    EXPECT_EQ(moves[0], "a8b8");
    EXPECT_EQ(moves[1], "b8a8");
    EXPECT_EQ(count_of(o.record, "\n"), 301);
}

}  // namespace
}  // namespace morvelak::test
