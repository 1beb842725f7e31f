// morvelak28 as an interface sees it: its features, progress lines and
// moves, its game record, take-back by full moves and refused moves.  Small
// positions keep the game's first search (depth 9 at least) short.
#include "tests/programs/support.hpp"

namespace morvelak::test {
namespace {

using Morvelak28 = HistoricalClock;

const std::string PROGRAM = "morvelak28";

// Progress lines: depth, best score so far, "1 1", the move's number and the
// number of moves, "MORVELAK" ("!MORVELAK" for a re-search).  White's have a
// blank before the parenthesis, Black's none.
bool progress(const std::string& line, bool white) {
    const std::string open = white ? " (" : "(";
    return matches(line, "# ~ 1 1" + open + "#/#) MORVELAK") ||
           matches(line, "# ~ 1 1" + open + "#/#) !MORVELAK");
}

TEST_F(Morvelak28, AnnouncesItsFeaturesAndLogsAllButXboard) {
    const Outcome o = run("xboard\nprotover 2\n\nnew\naccepted usermove\nquit\n", PROGRAM);
    EXPECT_EQ(o.rc, 0);
    EXPECT_EQ(o.out.substr(0, FEATURES.size()), FEATURES);
    EXPECT_EQ(o.log, "protover 2\nnew\naccepted usermove\nquit\n");
    EXPECT_EQ(o.record, "");
}

TEST_F(Morvelak28, AsBlackItPrintsProgressLinesAndClosesTheRecordLine) {
    // Kings and a few pawns: every move of White's leaves Black a choice.
    board("....k...\n.pp.....\n........\n........\n........\n........\n.PP.....\n....K...\n0 0 0 0\n");
    const Outcome o = run("new\ntime 100\nusermove b2b3\ntime 90\nusermove c2c3\nquit\n", PROGRAM);
    EXPECT_EQ(o.rc, 0);
    EXPECT_EQ(count_of(o.out, "Illegal"), 0) << o.out;
    const auto moves = moves_of(o);
    ASSERT_EQ(moves.size(), 2u);
    // Every other line is a progress line of Black's form, the first search
    // at depth 9; each search begins with move 1 and the open bound.
    int first = 0;
    for (std::size_t i = 2; i < o.lines.size(); ++i) {
        const std::string& l = o.lines[i];
        if (l.compare(0, 5, "move ") == 0) continue;
        EXPECT_TRUE(progress(l, false)) << l;
        if (l.find("(1/") != std::string::npos) {
            EXPECT_NE(l.find(" -12000 1 1(1/"), std::string::npos) << l;
            ++first;
        }
    }
    EXPECT_EQ(first, 2);
    EXPECT_EQ(o.lines[2].substr(0, 2), "9 ");
    // The opponent's move and a blank, then depth, move, score (White's
    // side), seconds.tenths and the line's end; once per full move.
    const auto rec = split_lines(o.record);
    ASSERT_EQ(rec.size(), 2u) << o.record;
    EXPECT_TRUE(matches(rec[0], "b2b3 9 " + moves[0] + " ~ #.#")) << rec[0];
    EXPECT_TRUE(matches(rec[1], "c2c3 # " + moves[1] + " ~ #.#")) << rec[1];
}

TEST_F(Morvelak28, AsWhiteItsPartOpensTheRecordLineWithTheNodeCount) {
    // Whatever White plays, h7h6 stays legal.
    board("....k...\n.......p\n........\n........\n........\n........\nP.......\n....K...\n0 0 0 0\n");
    const Outcome o = run("new\ntime 100\nwhite\ntime 95\nusermove h7h6\nquit\n", PROGRAM);
    EXPECT_EQ(o.rc, 0);
    const auto moves = moves_of(o);
    ASSERT_EQ(moves.size(), 2u);
    for (std::size_t i = 2; i < o.lines.size(); ++i) {
        if (o.lines[i].compare(0, 5, "move ") == 0) continue;
        EXPECT_TRUE(progress(o.lines[i], true)) << o.lines[i];
    }
    EXPECT_EQ(o.lines[2], "9 -12000 1 1 (1/7) MORVELAK");
    // Depth, move, score, seconds.tenths and nodes, then the reply.
    const std::string part = "# @ ~ #.# #";
    EXPECT_TRUE(matches(o.record, part + " h7h6 \n" + part)) << o.record;
    EXPECT_EQ(o.record.substr(0, 7), "9 " + moves[0] + " ");
}

TEST_F(Morvelak28, RemoveTakesBackOneFullMove) {
    // Engine Black: after two full moves, "remove" goes back to the position
    // after the first, White to move: e2e4 is played already, d2d4 is not.
    const Outcome b = run(
        "new\ntime 100\nusermove e2e4\ntime 100\nusermove d2d4\nremove\nusermove e2e4\n"
        "usermove d2d4\nquit\n",
        PROGRAM);
    EXPECT_EQ(b.rc, 0);
    EXPECT_EQ(count_of(b.out, "Illegal move: "), 1) << b.out;
    EXPECT_NE(b.out.find("Illegal move: e2e4\n"), std::string::npos);
    EXPECT_EQ(moves_of(b).size(), 3u);
    // Engine White: "remove" goes back to the position after its first move,
    // Black to move, where e7e5 can be played again.
    const Outcome w = run("new\ntime 100\nwhite\nusermove e7e5\nremove\nusermove e7e5\nquit\n", PROGRAM);
    EXPECT_EQ(w.rc, 0);
    EXPECT_EQ(count_of(w.out, "Illegal"), 0) << w.out;
    EXPECT_EQ(moves_of(w).size(), 3u);
    // With no full move played there is nothing to take back.
    const Outcome n = run("new\nremove\ntime 100\nusermove e2e4\nquit\n", PROGRAM);
    EXPECT_EQ(count_of(n.out, "Illegal"), 0) << n.out;
    EXPECT_EQ(moves_of(n).size(), 1u);
}

TEST_F(Morvelak28, IllegalAndMalformedMovesAreRefusedAndChangeNothing) {
    const Outcome o = run("new\ntime 100\nusermove e2e5\nusermove e7e5\nusermove e2\nusermove e2e4\nquit\n",
                          PROGRAM);
    EXPECT_EQ(o.rc, 0);
    const std::string refusals = "Illegal move: e2e5\nIllegal move: e7e5\nIllegal move: e2\n";
    EXPECT_EQ(o.out.substr(0, FEATURES.size() + refusals.size()), FEATURES + refusals);
    EXPECT_EQ(moves_of(o).size(), 1u);
    EXPECT_EQ(o.record.substr(0, 5), "e2e4 ");
    EXPECT_EQ(count_of(o.record, "\n"), 1);
}

TEST_F(Morvelak28, WithoutALegalMoveItAnnouncesTheResultAndEndOfInputIsQuit) {
    board("w......k\n......pp\n........\n........\n........\n........\n........\nW...K...\n0 0 0 0\n");
    const Outcome o = run("new\nusermove a1a8\n", PROGRAM);
    EXPECT_EQ(o.rc, 0);
    EXPECT_EQ(o.out.substr(FEATURES.size()), "1-0 {White mates}\n");
    EXPECT_EQ(o.record, "a1a8 ");
}

TEST_F(Morvelak28, TheBookAnswersWithTwicePliesPerFullMove) {
    // Book lines are read by plies: Black's first reply at ply 1, White's
    // second move at ply 2.
    std::ofstream(dir / "k2.txt") << "e2e4e7e5g1f3\n";
    const Outcome b = run("new\ntime 100\nusermove e2e4\nquit\n", PROGRAM);
    EXPECT_EQ(moves_of(b), std::vector<std::string>{"e7e5"});
    EXPECT_TRUE(matches(b.record, "e2e4 0 e7e5 0 #.#\n")) << b.record;  // nothing searched
    const Outcome w = run("new\ntime 100\nwhite\nusermove e7e5\nquit\n", PROGRAM);
    EXPECT_EQ(moves_of(w), (std::vector<std::string>{"e2e4", "g1f3"}));
    EXPECT_TRUE(matches(w.record, "0 e2e4 0 #.# 0 e7e5 \n0 g1f3 0 #.# 0")) << w.record;
}

}  // namespace
}  // namespace morvelak::test
