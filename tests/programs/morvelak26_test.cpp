// morvelak26 as an interface sees it: one feature line, time in tenths of a
// second, "remove" not understood, no thinking lines, and a game record
// whose engine parts carry no node count.
#include "tests/programs/support.hpp"

namespace morvelak::test {
namespace {

using Morvelak26 = HistoricalClock;

const std::string PROGRAM = "morvelak26";

// A position where neither side can interfere with the other's moves for a
// while: White's a-pawn, Black's h-pawn, the kings on their home squares.
const std::string PAWNS = "....k...\n.......p\n........\n........\n........\n........\nP.......\n....K...\n0 0 0 0\n";

// The output holds the feature line and then only move lines (and refusals):
// no thinking or progress lines.
void expect_only_moves(const Outcome& o, int moves) {
    ASSERT_FALSE(o.lines.empty());
    EXPECT_EQ(o.lines[0], "feature usermove=1");
    int n = 0;
    for (std::size_t i = 1; i < o.lines.size(); ++i) {
        if (o.lines[i].compare(0, 14, "Illegal move: ") == 0) continue;
        EXPECT_TRUE(matches(o.lines[i], "move @")) << o.lines[i];
        ++n;
    }
    EXPECT_EQ(n, moves) << o.out;
}

TEST_F(Morvelak26, AnnouncesOnlyUsermove) {
    const Outcome o = run("xboard\nnew\nquit\n", PROGRAM);
    EXPECT_EQ(o.rc, 0);
    EXPECT_EQ(o.out, "feature usermove=1\n");
    EXPECT_EQ(o.log, "new\nquit\n");
    EXPECT_EQ(o.record, "");
}

// Black's parts close the record lines: depth, move, score (White's side),
// seconds and tenths.  "time" arrives in centiseconds and is kept in tenths:
// 12000 is 1200 tenths, a first search of 7 plies; 12010 is above 1200, 8.
TEST_F(Morvelak26, PlaysBlackWithRecordLinesAndTheClockInTenths) {
    board(PAWNS);
    for (auto [clock, depth] : {std::pair<const char*, char>{"12000", '7'}, {"12010", '8'}, {"60010", '9'}}) {
        const Outcome o = run(std::string("xboard\nnew\ntime ") + clock +
                                  "\notim 100\nusermove a2a3\ntime 11000\nusermove a3a4\nquit\n",
                              PROGRAM);
        EXPECT_EQ(o.rc, 0);
        expect_only_moves(o, 2);
        const auto moves = moves_of(o);
        ASSERT_EQ(moves.size(), 2u);
        EXPECT_TRUE(matches(o.record, "a2a3 # " + moves[0] + " ~ #.#\na3a4 # " + moves[1] + " ~ #.#\n"))
            << o.record;
        EXPECT_EQ(o.record[5], depth) << o.record;
    }
}

// White's part opens the line, without the node count; the opponent's reply
// completes it.
TEST_F(Morvelak26, PlaysWhiteWithRecordLines) {
    board(PAWNS);
    const Outcome o = run("xboard\nnew\ntime 3000\nwhite\ntime 2990\nusermove h7h6\nquit\n", PROGRAM);
    EXPECT_EQ(o.rc, 0);
    expect_only_moves(o, 2);
    const auto moves = moves_of(o);
    ASSERT_EQ(moves.size(), 2u);
    EXPECT_TRUE(matches(o.record, "# " + moves[0] + " ~ #.# h7h6 \n# " + moves[1] + " ~ #.#")) << o.record;
}

// "remove" is logged and nothing else: the game goes on from where it was,
// so the pawn that went to a3 goes on to a4.
TEST_F(Morvelak26, RemoveIsIgnored) {
    board(PAWNS);
    const Outcome o = run("xboard\nnew\nusermove a2a3\nremove\nusermove a3a4\nquit\n", PROGRAM);
    EXPECT_EQ(o.rc, 0);
    expect_only_moves(o, 2);
    EXPECT_EQ(count_of(o.out, "Illegal"), 0);
    EXPECT_EQ(o.log, "new\nusermove a2a3\nremove\nusermove a3a4\nquit\n");
    EXPECT_EQ(o.record.substr(0, 5), "a2a3 ");
    EXPECT_NE(o.record.find("\na3a4 "), std::string::npos) << o.record;
}

// An illegal move is refused and changes nothing; the legal one that follows
// is answered.
TEST_F(Morvelak26, RefusesAnIllegalMove) {
    const Outcome o = run("xboard\nnew\ntime 1000\nusermove e2e5\nusermove e1e2\nusermove e2e4\nquit\n", PROGRAM);
    EXPECT_EQ(o.rc, 0);
    ASSERT_EQ(o.lines.size(), 4u) << o.out;
    EXPECT_EQ(o.lines[1], "Illegal move: e2e5");
    EXPECT_EQ(o.lines[2], "Illegal move: e1e2");
    expect_only_moves(o, 1);
    EXPECT_EQ(o.record.substr(0, 5), "e2e4 ");
    EXPECT_EQ(count_of(o.record, "\n"), 1);
}

// A short game as Black from the standard position: every move a legal
// answer, the record one line per full move.
TEST_F(Morvelak26, AGameFragmentAsBlack) {
    const Outcome o = run("xboard\nnew\ntime 600\nusermove e2e4\ntime 590\nusermove g1f3\ntime 580\n"
                          "usermove f1c4\nquit\n",
                          PROGRAM);
    EXPECT_EQ(o.rc, 0);
    expect_only_moves(o, 3);
    EXPECT_EQ(count_of(o.out, "Illegal"), 0);
    const auto moves = moves_of(o);
    ASSERT_EQ(moves.size(), 3u);
    EXPECT_TRUE(matches(o.record, "e2e4 # " + moves[0] + " ~ #.#\ng1f3 # " + moves[1] + " ~ #.#\nf1c4 # " +
                                      moves[2] + " ~ #.#\n"))
        << o.record;
}

}  // namespace
}  // namespace morvelak::test
