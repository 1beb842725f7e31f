// The two older programs while they think, held the way an interface holds
// them: "?" ends a long search at once with a legal move, analysis prints
// its lines for the side to move and leaves the game record alone, and
// "nopost" silences m28's progress lines.
#include "tests/programs/support.hpp"

#include <thread>

namespace morvelak::test {
namespace {

const std::vector<std::string> OLDER = {"morvelak28", "morvelak26"};

std::vector<std::string> older_built() {
    std::vector<std::string> v;
    for (const std::string& p : OLDER)
        if (built(p)) v.push_back(p);
    return v;
}

// A middlegame with plenty to think about: the first search of the game is
// 11 plies deep in m28 (minutes), 9 in m26.
const std::string MIDDLEGAME = "r1bq1rk1/2p1bppp/p1np1n2/1p2p3/4P3/1BPP1N2/PP3PPP/RNBQR1K1 w - - 0 9";

class OlderThinking : public ProgramTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(OlderThinking, MoveNowEndsALongSearchWithALegalMove) {
    const std::string program = GetParam();
    Session s(dir, program);
    ASSERT_TRUE(s.started());
    s.send("xboard\nprotover 2\nnew\nforce\nsetboard " + MIDDLEGAME + "\ntime 1000000\notim 1000000\n");
    s.read_until("feature done=1", 60);
    s.send("go\n");
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const auto asked = std::chrono::steady_clock::now();
    s.send("?\n");
    const std::string out = s.read_until("move ", 60);
    const double waited = std::chrono::duration<double>(std::chrono::steady_clock::now() - asked).count();
    EXPECT_LT(waited, 5.0) << "the move came only after " << waited << " s";
    const std::vector<std::string> lines = split_lines(out);
    ASSERT_FALSE(lines.empty());
    ASSERT_EQ(lines.back().compare(0, 5, "move "), 0) << out;
    const std::string move = lines.back().substr(5);
    // Taken back and given again as the interface's move, it is accepted,
    // so it was legal in the position, and the position was intact.
    const std::size_t from = out.size();
    s.send("force\nundo\nusermove " + move + "\nping 1\n");
    const std::string after = s.read_until("pong 1", 60, from).substr(from);
    EXPECT_EQ(after, "pong 1\n");
    s.send("quit\n");
    EXPECT_EQ(s.stop_with(0), 0);
    const std::string record = slurp(dir / "zapisparti.txt");
    int depth = -1;
    char played[5] = {};
    ASSERT_EQ(std::sscanf(record.c_str(), "%d %4s", &depth, played), 2) << record;
    EXPECT_EQ(played, move);
}

// Analysis of the start, then of the position after a move given in
// analysis mode, then "exit": the lines are "depth score time nodes move",
// the moves are the side to move's, and the game record stays empty.
TEST_P(OlderThinking, AnalysisPrintsItsLinesAndWritesNothingToTheRecord) {
    const std::string program = GetParam();
    Session s(dir, program);
    ASSERT_TRUE(s.started());
    s.send("xboard\nprotover 2\nnew\nforce\nanalyze\n");
    std::string out = s.read_until("3 ", 60);
    s.send("usermove e2e4\nping 1\n");
    out = s.read_until("pong 1", 60);
    const std::size_t black = out.size();
    out = s.read_until("3 ", 60, black);
    s.send("exit\nping 2\n");
    out = s.read_until("pong 2", 60, black);
    const std::size_t exited = out.size();
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    s.send("quit\n");
    EXPECT_EQ(s.stop_with(0), 0);
    out = s.read_until("never", 5);
    EXPECT_EQ(out.substr(exited), "") << "analysis went on after exit";

    int white = 0, blackLines = 0;
    std::size_t at = 0;
    for (const std::string& l : split_lines(out)) {
        const std::size_t start = at;
        at += l.size() + 1;
        if (l.empty() || l[0] < '0' || l[0] > '9') continue;
        ASSERT_TRUE(matches(l, "# ~ # # @")) << l;
        if (start < black) continue;  // the start, or the restart after e2e4
        const char rank = l[l.size() - 3];
        EXPECT_TRUE(rank == '7' || rank == '8') << "not a Black move: " << l;
        ++blackLines;
    }
    for (const std::string& l : split_lines(out.substr(0, black)))
        if (matches(l, "# ~ # # @")) ++white;
    EXPECT_GT(white, 1);
    EXPECT_GT(blackLines, 1);
    EXPECT_EQ(slurp(dir / "zapisparti.txt"), "");
}

INSTANTIATE_TEST_SUITE_P(Programs, OlderThinking, ::testing::ValuesIn(older_built()),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param; });

// "nopost" silences the progress lines of m28 (its only
// thinking output), "post" brings them back.
using Morvelak28Post = ProgramTest;

TEST_F(Morvelak28Post, NopostSilencesTheProgressLines) {
    if (!built("morvelak28")) GTEST_SKIP();
    board("....k...\n.pp.....\n........\n........\n........\n........\n.PP.....\n....K...\n0 0 0 0\n");
    const Outcome o = run("xboard\nnew\nnopost\ntime 100\nusermove b2b3\npost\ntime 90\nusermove c2c3\nquit\n",
                          "morvelak28");
    EXPECT_EQ(o.rc, 0);
    ASSERT_EQ(moves_of(o).size(), 2u) << o.out;
    int before = 0, after = 0, moves = 0;
    for (const std::string& l : o.lines) {
        if (l.compare(0, 5, "move ") == 0) ++moves;
        else if (!l.empty() && l[0] >= '0' && l[0] <= '9') ++(moves == 0 ? before : after);
    }
    EXPECT_EQ(before, 0) << o.out;
    EXPECT_GT(after, 0) << o.out;
}

}  // namespace
}  // namespace morvelak::test
