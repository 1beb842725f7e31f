// Every program as a UCI engine: the handshake, positions given as a start
// and moves (castling, en passant, a repetition, an under-promotion), "go"
// with clocks, depth, movetime and infinite, "stop", "isready" while the
// engine thinks, and the game record kept as in xboard play.
#include "tests/programs/support.hpp"

#include <chrono>
#include <thread>

namespace morvelak::test {
namespace {

class Uci : public ProgramTest, public ::testing::WithParamInterface<std::string> {};

// The handshake's answer.
std::string handshake(const std::string& program) {
    return "id name MORVELAK " + program.substr(8) +
           "\nid author the MORVELAK authors\n"
           "option name Hard time limit type check default true\n"
           "option name OwnBook type check default true\n"
           "option name Board file type check default false\n"
           "uciok\n";
}

// The "bestmove" answers, in order.
std::vector<std::string> bestmoves(const Outcome& o) {
    std::vector<std::string> v;
    for (const std::string& l : o.lines)
        if (l.compare(0, 9, "bestmove ") == 0) v.push_back(l.substr(9));
    return v;
}

// The engine's part of a record line as White: depth, move, score,
// seconds.tenths and, in the builds that count them, the nodes.
bool white_part(const std::string& s, const std::string& move) {
    return matches(s, "# " + move + " ~ #.# #") || matches(s, "# " + move + " ~ #.#");
}

TEST_P(Uci, HandshakeWithoutXboardFeaturesAndUnknownWordsPassedOver) {
    const Outcome o = run("uci\ndebug on\nfrobnicate\nisready\nquit\n", GetParam());
    EXPECT_EQ(o.rc, 0);
    EXPECT_EQ(o.out, handshake(GetParam()) + "readyok\n");
    EXPECT_EQ(o.log, "uci\ndebug on\nfrobnicate\nisready\nquit\n");
}

TEST_P(Uci, MovesWithCastlingEnPassantAndARepetitionThenGoWithClocks) {
    // White castles, Black's pawn takes en passant, the knights go out and
    // back until the position stands a third time, then the engine plays.
    const std::string moves =
        "e2e4 g8f6 e4e5 d7d5 e5d6 e7d6 g1f3 f8e7 f1e2 e8g8 e1g1 b8c6 "
        "f3g5 c6b4 g5f3 b4c6 f3g5 c6b4 g5f3 b4c6";
    const Outcome o = run("uci\nucinewgame\nposition startpos moves " + moves +
                              "\ngo wtime 2000 btime 2000 winc 10 binc 10\nisready\nquit\n",
                          GetParam());
    const auto b = bestmoves(o);
    ASSERT_EQ(b.size(), 1u) << o.out;
    EXPECT_TRUE(is_move_text(b[0])) << b[0];
    EXPECT_EQ(o.out.find("illegal"), std::string::npos) << o.out;
    // The record, as in xboard play: the interface's moves, then the
    // engine's part for White, which opens a line.
    EXPECT_EQ(o.record.compare(0, 15, "e2e4  g8f6 \ne4e"), 0) << o.record;
    const std::size_t last = o.record.rfind(" b4c6 \n");
    ASSERT_NE(last, std::string::npos) << o.record;
    EXPECT_TRUE(white_part(o.record.substr(last + 7), b[0])) << o.record;
}

TEST_P(Uci, TheEnginesOwnMoveIsRecognisedAndTheGameFollowed) {
    // The second position is the first with the engine's move and a reply:
    // only the reply is new.  After "ucinewgame" another game starts over,
    // with a record of its own.
    Outcome o = run("uci\nposition startpos moves e2e4\ngo depth 3\nquit\n", GetParam());
    const auto first = bestmoves(o);
    ASSERT_EQ(first.size(), 1u) << o.out;
    o = run("uci\nposition startpos moves e2e4\ngo depth 3\nposition startpos moves e2e4 " + first[0] +
                " d2d4\ngo depth 3\nucinewgame\nposition startpos moves d2d4 d7d5\ngo depth 2\nquit\n",
            GetParam());
    const auto b = bestmoves(o);
    ASSERT_EQ(b.size(), 3u) << o.out;
    EXPECT_EQ(b[0], first[0]);
    EXPECT_EQ(o.out.find("illegal"), std::string::npos) << o.out;
    // Each game's record holds each move once; this is the second game's.
    ASSERT_EQ(o.record.compare(0, 12, "d2d4  d7d5 \n"), 0) << o.record;
    EXPECT_TRUE(white_part(o.record.substr(12), b[2])) << o.record;
}

TEST_P(Uci, DepthLimitsTheSearchAndTheRecord) {
    const Outcome o = run("uci\nsetoption name OwnBook value false\nposition startpos moves e2e4\ngo depth 3\nquit\n",
                          GetParam());
    ASSERT_EQ(bestmoves(o).size(), 1u) << o.out;
    EXPECT_EQ(o.record.substr(0, 7), "e2e4 3 ") << o.record;
    int deepest = 0;
    for (const std::string& l : o.lines) {
        int d = 0;
        if (std::sscanf(l.c_str(), "info depth %d", &d) == 1) deepest = std::max(deepest, d);
    }
    EXPECT_EQ(deepest, 3) << o.out;
}

TEST_P(Uci, MatesAreScoredAsMatesAndPromotionsCarryTheirLetter) {
    const Outcome o = run("uci\nposition fen 6k1/5ppp/8/8/8/8/5PPP/R5K1 w - - 0 1\ngo depth 4\n"
                          "position fen 8/P6k/8/8/8/8/8/K7 w - - 0 1\ngo depth 3\nquit\n",
                          GetParam());
    const auto b = bestmoves(o);
    ASSERT_EQ(b.size(), 2u) << o.out;
    EXPECT_EQ(b[0], "a1a8");
    EXPECT_NE(o.out.find("score mate 1 "), std::string::npos) << o.out;
    EXPECT_EQ(b[1], "a7a8q");
}

TEST_P(Uci, AnUnderPromotionIsSetUpAndIllegalMovesStopThePosition) {
    // a8=N leaves a knight on a8; the engine (Black) then plays on from there,
    // and its answer is a legal Black king move.
    const Outcome o = run("uci\nposition fen 4k3/P7/8/8/8/8/8/4K3 w - - 0 1 moves a7a8n\ngo depth 3\n"
                          "position startpos moves e2e5\ngo depth 2\nquit\n",
                          GetParam());
    const auto b = bestmoves(o);
    ASSERT_EQ(b.size(), 2u) << o.out;
    EXPECT_EQ(b[0].substr(0, 2), "e8") << b[0];
    EXPECT_NE(o.out.find("info string illegal move e2e5"), std::string::npos) << o.out;
    EXPECT_TRUE(b[1][1] == '1' || b[1][1] == '2') << "White to move in the start position: " << b[1];
}

TEST_P(Uci, GoMovetimeIsKeptAndIsreadyIsAnsweredWhileThinking) {
    Session s(dir, GetParam());
    s.send("uci\nposition fen r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1\n"
           "go wtime 10000000 btime 10000000 movetime 800\n");
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    const auto asked = std::chrono::steady_clock::now();
    s.send("isready\n");
    std::string out = s.read_until("readyok", 10);
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - asked).count(), 0.5);
    out = s.read_until("bestmove ", 10);
    EXPECT_LT(out.find("readyok"), out.find("bestmove ")) << "answered while thinking";
    s.send("quit\n");
    EXPECT_EQ(s.stop_with(0), 0);
}

TEST_P(Uci, GoInfiniteRunsUntilStopAndThenNamesItsMove) {
    Session s(dir, GetParam());
    s.send("uci\nucinewgame\nposition startpos moves e2e4\ngo infinite\n");
    std::this_thread::sleep_for(std::chrono::milliseconds(600));
    std::string out = s.read_until("bestmove", 1);
    EXPECT_EQ(out.find("bestmove"), std::string::npos) << "no move before stop";
    s.send("stop\n");
    out = s.read_until("bestmove ", 10);
    const auto l = split_lines(out);
    ASSERT_EQ(l.back().compare(0, 9, "bestmove "), 0) << out;
    const std::string move = l.back().substr(9);
    // The move is Black's and the last info line's first move.
    EXPECT_TRUE(move[1] == '7' || move[1] == '8') << move;
    std::string info;
    for (const std::string& x : l)
        if (x.compare(0, 5, "info ") == 0) info = x;
    EXPECT_NE(info.find(" pv " + move), std::string::npos) << info;
    s.send("quit\n");
    EXPECT_EQ(s.stop_with(0), 0);
    EXPECT_EQ(slurp(dir / "zapisparti.txt"), "e2e4 ") << "analysis writes nothing";
}

INSTANTIATE_TEST_SUITE_P(Programs, Uci, ::testing::ValuesIn(built_programs()),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param; });

}  // namespace
}  // namespace morvelak::test
