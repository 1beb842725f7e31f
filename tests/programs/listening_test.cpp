// The programs listen while they think, as an interface holds them: "?"
// brings the move at once, a command that ends the game's thinking takes
// the search back without a move, everything else waits for the move, and
// the interface's limits and switches ("sd", "st", "nopost", "analyze")
// shape what the engine does.  Each case runs against every program built.
#include "tests/programs/support.hpp"

#include <chrono>
#include <sstream>
#include <thread>

namespace morvelak::test {
namespace {

// A middlegame full of captures and checks, where a deep search takes long.
const std::string BUSY = "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1";

// A session with the newer protocol, the busy position set up and a clock
// long enough for the deepest search the start of a game allows.
struct Thinking : Session {
    Thinking(const fs::path& dir, const std::string& program, const std::string& extra = "")
        : Session(dir, program) {
        send("xboard\nprotover 2\nnew\nforce\nsetboard " + BUSY + "\n" + extra + "time 1000000\ngo\n");
    }
};

void pause_ms(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

double seconds_since(std::chrono::steady_clock::time_point t) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t).count();
}

// Every program listens while it thinks.
std::vector<std::string> listening_programs() { return built_programs(); }

class Listening : public ProgramTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(Listening, MoveNowAnswersAtOnceWithALegalMoveOfShallowerDepth) {
    Thinking s(dir, GetParam());
    pause_ms(300);
    const auto asked = std::chrono::steady_clock::now();
    s.send("?\n");
    const std::string out = s.read_until("move ", 30);
    EXPECT_LT(seconds_since(asked), 3.0) << "the move comes at once";
    const auto l = split_lines(out);
    ASSERT_TRUE(matches(l.back(), "move @")) << out;
    // The record names the move and a depth short of the deepest planned.
    s.send("ping 1\n");
    s.read_until("pong 1", 10);
    const std::string record = slurp(dir / "zapisparti.txt");
    int depth = -1;
    char move[5] = {};
    ASSERT_EQ(std::sscanf(record.c_str(), "%d %4s", &depth, move), 2) << record;
    EXPECT_EQ(l.back().substr(5), move);
    EXPECT_LT(depth, 10) << record;
}

TEST_P(Listening, OtherCommandsWaitForTheMoveAndPingIsAnsweredAfterIt) {
    Thinking s(dir, GetParam(), "st 1\n");
    pause_ms(100);
    s.send("ping 7\n");
    const std::string out = s.read_until("pong 7", 30);
    const std::size_t move = out.find("\nmove ");
    ASSERT_NE(move, std::string::npos) << out;
    EXPECT_LT(move, out.find("pong 7")) << out;
}

TEST_P(Listening, ForceNewAndResultTakeTheSearchBackWithoutAMove) {
    for (const char* command : {"force", "new", "result 1-0 {White resigns}"}) {
        Thinking s(dir, GetParam());
        pause_ms(200);
        s.send(std::string(command) + "\nping 2\n");
        const std::string out = s.read_until("pong 2", 30);
        EXPECT_NE(out.find("pong 2"), std::string::npos) << command;
        EXPECT_EQ(out.find("\nmove "), std::string::npos) << command << "\n" << out;
        EXPECT_EQ(slurp(dir / "zapisparti.txt"), "") << command;
    }
}

TEST_P(Listening, QuitWhileThinkingEndsAtOnceWithTheLogWhole) {
    Thinking s(dir, GetParam());
    pause_ms(200);
    const auto asked = std::chrono::steady_clock::now();
    s.send("quit\n");
    s.read_until("move ", 10);  // the output ends with the process
    EXPECT_EQ(s.stop_with(0), 0) << "it exited by itself";
    EXPECT_LT(seconds_since(asked), 5.0);
    const std::string log = slurp(dir / "zapiswinbord.txt");
    EXPECT_EQ(log.substr(log.size() - 5), "quit\n") << log;
    EXPECT_EQ(slurp(dir / "zapisparti.txt"), "");
}

TEST_P(Listening, AFixedTimePerMoveIsKept) {
    Thinking s(dir, GetParam(), "st 1\n");
    const auto started = std::chrono::steady_clock::now();
    const std::string out = s.read_until("move ", 30);
    ASSERT_NE(out.find("\nmove "), std::string::npos) << out;
    EXPECT_LT(seconds_since(started), 4.0);
}

// An interface that loads a game sends "force", every move of it and "go"
// at once and then waits, the pipe open, for the engine's move.  A game of
// 70 plies makes the burst longer than the lines the engine reads ahead;
// the last of them must be acted on without more input.
TEST_P(Listening, AGameLoadedInOneBurstIsPlayedOnAtOnce) {
    const std::string game =
        "d2d4 d7d5 g1f3 g8f6 b1c3 b8c6 e2e3 e7e6 f1b5 c8d7 e1g1 f8d6 b5c6 d7c6 f3e5 c6d7 b2b3 e8g8 "
        "c1b2 c7c5 d1f3 d8c7 f3f4 c5d4 e3d4 a8c8 a2a4 c7a5 f4e3 a7a6 f1e1 d6e5 d4e5 f6g4 e3d4 f7f5 "
        "f2f3 g4h6 b3b4 a5c7 a1d1 c7c4 d4b6 c4c6 b6a7 h6f7 b4b5 c6c5 a7c5 c8c5 d1d3 a6b5 b2a3 f8c8 "
        "a3c5 c8c5 a4b5 d7b5 c3b5 c5b5 d3b3 b5b3 c2b3 g7g5 g1f2 g8g7 f3f4 g5f4 f2f3 b7b5";
    Session s(dir, GetParam());
    std::string burst = "xboard\nprotover 2\nnew\nforce\n";
    std::istringstream moves(game);
    for (std::string m; moves >> m;) burst += "usermove " + m + "\n";
    s.send(burst + "st 1\ngo\n");
    const auto sent = std::chrono::steady_clock::now();
    const std::string out = s.read_until("move ", 30);
    const auto l = split_lines(out);
    ASSERT_FALSE(l.empty());
    ASSERT_TRUE(matches(l.back(), "move @")) << out;
    EXPECT_LT(seconds_since(sent), 10.0);
    EXPECT_EQ(out.find("Illegal"), std::string::npos) << out;
}

INSTANTIATE_TEST_SUITE_P(Programs, Listening, ::testing::ValuesIn(listening_programs()),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param; });

// ---- Switches and limits, whole sessions from a file ----

using Switches = ProgramTest;

// The depth of every record part (the first number of each engine part).
int first_depth(const std::string& record) { return std::atoi(record.c_str() + (record[0] == 'e' ? 5 : 0)); }

TEST_F(Switches, DepthLimitNoPostAndUnknownCommands) {
    for (const std::string& program : listening_programs()) {
        // "sd 3" and "nopost": a three-ply search and not one thinking line.
        Outcome o = run("xboard\nprotover 2\nnew\nsd 3\nnopost\ntime 1000\nusermove e2e4\nquit\n", program);
        ASSERT_EQ(moves_of(o).size(), 1u) << program << o.out;
        EXPECT_EQ(first_depth(o.record), 3) << program << " " << o.record;
        for (const std::string& l : o.lines)
            EXPECT_FALSE(!l.empty() && std::isdigit(static_cast<unsigned char>(l[0]))) << program << ": " << l;
        // "new" lifts the depth limit.
        o = run("xboard\nprotover 2\nnew\nsd 3\nnew\ntime 1000\nusermove e2e4\nquit\n", program);
        EXPECT_GT(first_depth(o.record), 3) << program << " " << o.record;
        // An interface of the newer protocol hears of an unknown word; the
        // engine's own sessions stay silent as they always were.
        o = run("xboard\nprotover 2\nfrobnicate now\nhint\nquit\n", program);
        EXPECT_EQ(o.out, startup_features(program) + protover_answer(program) +
                             "Error (unknown command): frobnicate\n")
            << program;
        o = run("xboard\nnew\nfrobnicate now\nquit\n", program);
        EXPECT_EQ(o.out, startup_features(program)) << program;
    }
}

TEST_F(Switches, TheHistoricalClockCompletesThePlannedDepth) {
    // A tenth of a second on the clock: the hard limit cuts the search of a
    // busy middlegame short; the historical clock searches its depth of 7.
    const std::string session =
        "xboard\nprotover 2\nnew\nforce\nsetboard " + BUSY + "\ntime 10\ngo\nquit\n";
    Outcome o = run(session, "morvelak31");
    ASSERT_EQ(moves_of(o).size(), 1u) << o.out;
    EXPECT_LT(first_depth(o.record), 7) << o.record;
    arguments = "--historical-clock";
    o = run(session, "morvelak31");
    EXPECT_EQ(first_depth(o.record), 7) << o.record;
    o = run("xboard\nprotover 2\nnew\nforce\nsetboard " + BUSY + "\noption Hard time limit=0\ntime 10\ngo\nquit\n",
            "morvelak31");
    EXPECT_EQ(first_depth(o.record), 7) << "the engine option does the same: " << o.record;
    arguments = "--fast";
    o = run("quit\n", "morvelak31");
    EXPECT_EQ(o.rc, 2);
    EXPECT_NE(o.err.find("--historical-clock"), std::string::npos) << o.err;
}

TEST_F(Switches, AnalysisFollowsTheMovesAndWritesNothingToTheRecord) {
    for (const std::string& program : listening_programs()) {
        const Outcome o = run("xboard\nprotover 2\nnew\npost\nanalyze\nusermove e2e4\nundo\nusermove d2d4\n"
                              "exit\nping 1\nquit\n", program);
        EXPECT_EQ(moves_of(o).size(), 0u) << program;
        EXPECT_EQ(o.record, "") << program;
        // Thinking lines with depth, score, time in centiseconds and nodes.
        int lines = 0;
        for (const std::string& l : o.lines) {
            if (l.empty() || !std::isdigit(static_cast<unsigned char>(l[0]))) continue;
            int d, sc, t;
            unsigned long n;
            EXPECT_EQ(std::sscanf(l.c_str(), "%d %d %d %lu", &d, &sc, &t, &n), 4) << l;
            ++lines;
        }
        EXPECT_GT(lines, 0) << program;
        EXPECT_EQ(o.lines.back(), "pong 1") << program;
    }
}

TEST_F(Switches, AnalysisAnswersTheStatusRequestWhileItThinks) {
    for (const std::string& program : listening_programs()) {
        Session s(dir, program);
        s.send("xboard\nprotover 2\nnew\nforce\nsetboard " + BUSY + "\nanalyze\n");
        pause_ms(300);
        s.send(".\n");
        const std::string out = s.read_until("stat01:", 20);
        ASSERT_NE(out.find("stat01: "), std::string::npos) << program << out;
        s.send("exit\nping 4\n");
        EXPECT_NE(s.read_until("pong 4", 20).find("pong 4"), std::string::npos) << program;
        EXPECT_EQ(slurp(dir / "zapisparti.txt"), "") << program;
    }
}

}  // namespace
}  // namespace morvelak::test
