// The programs as engine-match runners and today's interfaces drive them, in
// the newer protocol version: "protover", "force", "go", "ping", "setboard",
// "undo", "result".  Every sequence of the table runs against every program
// that has been built in this tree (the build makes every program there is
// before this test); what the engines choose to play is not
// fixed, so the checks look at the shape of the conversation, the record and
// the positions where only one answer is right.
#include "tests/programs/support.hpp"

#include <cctype>
#include <tuple>

namespace morvelak::test {
namespace {

// Output without the thinking and progress lines (they begin with the
// depth; result lines begin with a digit too).
std::vector<std::string> protocol_lines(const Outcome& o) {
    std::vector<std::string> v;
    for (const std::string& l : o.lines) {
        const bool result = l.compare(0, 3, "1-0") == 0 || l.compare(0, 3, "0-1") == 0 ||
                            l.compare(0, 7, "1/2-1/2") == 0;
        if (!l.empty() && (result || !std::isdigit(static_cast<unsigned char>(l[0])))) v.push_back(l);
    }
    return v;
}

// The expected protocol lines: the start-up features, then `rest`, in which
// "@" stands for any move text.
void expect_lines(const Outcome& o, const std::string& program, const std::vector<std::string>& rest) {
    std::vector<std::string> expected = split_lines(startup_features(program));
    for (const std::string& r : rest)
        for (const std::string& l : split_lines(r)) expected.push_back(l);  // the answer to protover spans lines
    const std::vector<std::string> got = protocol_lines(o);
    ASSERT_EQ(got.size(), expected.size()) << o.out;
    for (std::size_t i = 0; i < got.size(); ++i) EXPECT_TRUE(matches(got[i], expected[i])) << got[i];
}

std::string answer(const std::string& program) {
    const std::string a = protover_answer(program);
    return a.substr(0, a.size() - 1);
}

// The engine's part of a record line: depth, move, score, seconds.tenths and,
// for White in some builds, the node count.
bool engine_part(const std::string& s, std::size_t& at, const std::string& move) {
    std::size_t i = at;
    auto number = [&](bool sign) {
        if (sign && i < s.size() && s[i] == '-') ++i;
        const std::size_t b = i;
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i;
        return i > b;
    };
    if (!number(false) || s.compare(i, 1, " ") != 0) return false;
    if (s.compare(++i, 4, move) != 0) return false;
    i += 4;
    if (s.compare(i++, 1, " ") != 0 || !number(true) || s.compare(i++, 1, " ") != 0) return false;
    if (!number(false) || s.compare(i++, 1, ".") != 0 || !number(false)) return false;
    const std::size_t save = i;
    if (!(s.compare(i++, 1, " ") == 0 && number(false))) i = save;  // the node count
    at = i;
    return true;
}

// A record made of opponent moves ("e2e4", or " e7e5" for Black) and the
// engine's parts ("=" followed by its move); `text` lists them in order with
// the line breaks of the record.
void expect_record(const Outcome& o, const std::vector<std::string>& parts) {
    std::size_t at = 0;
    for (const std::string& p : parts) {
        if (p[0] == '=') {
            ASSERT_TRUE(engine_part(o.record, at, p.substr(1))) << o.record << "\nat " << at;
        } else {
            ASSERT_EQ(o.record.compare(at, p.size(), p), 0) << o.record << "\nat " << at << ": " << p;
            at += p.size();
        }
    }
    EXPECT_EQ(at, o.record.size()) << o.record;
}

// Whatever White plays, h7h6 stays legal; neither side can do much else.
const char* const PAWNS =
    "....k...\n.......p\n........\n........\n........\n........\nP.......\n....K...\n0 0 0 0\n";

struct Sequence {
    const char* name;
    const char* board;  // null: the standard start of data/plansza1.txt
    const char* input;
    void (*check)(const Outcome&, const std::string& program);
};

const Sequence SEQUENCES[] = {
    {"StartUp", nullptr, "xboard\nprotover 2\naccepted ping\naccepted done\nquit\n",
     [](const Outcome& o, const std::string& p) {
         EXPECT_EQ(o.out, startup_features(p) + protover_answer(p));
         EXPECT_EQ(o.log, "protover 2\naccepted ping\naccepted done\nquit\n");
     }},
    // A match runner's engine as White: "new", "force", the clock, "go";
    // the opponent's move is answered at once.
    {"EngineAsWhite", PAWNS,
     "xboard\nprotover 2\nnew\nforce\nlevel 0 2 0\npost\neasy\ntime 100\notim 100\ngo\n"
     "time 100\notim 100\nusermove h7h6\nquit\n",
     [](const Outcome& o, const std::string& p) {
         expect_lines(o, p, {answer(p), "move @", "move @"});
         const auto m = moves_of(o);
         ASSERT_EQ(m.size(), 2u);
         expect_record(o, {"=" + m[0], " h7h6 \n", "=" + m[1]});
     }},
    // xboard's Machine Black: no "force", no "go"; the engine answers.
    {"EngineAsBlack", nullptr,
     "xboard\nprotover 2\naccepted usermove\nnew\nrandom\nlevel 40 5 0\npost\nhard\ntime 100\n"
     "otim 100\nusermove e2e4\ntime 100\notim 100\nusermove g1f3\nresult 1/2-1/2 {Draw}\nquit\n",
     [](const Outcome& o, const std::string& p) {
         expect_lines(o, p, {answer(p), "move @", "move @"});
         const auto m = moves_of(o);
         ASSERT_EQ(m.size(), 2u);
         expect_record(o, {"e2e4 ", "=" + m[0], "\n", "g1f3 ", "=" + m[1], "\n"});
     }},
    // The second engine of a two-machine match: the opponent's first move in
    // force mode, then "go" for Black.
    {"TwoMachinesBlack", nullptr,
     "xboard\nprotover 2\nnew\nrandom\nforce\ncomputer\ntime 100\notim 100\nusermove e2e4\ngo\n"
     "time 100\notim 100\nusermove g1f3\nquit\n",
     [](const Outcome& o, const std::string& p) {
         expect_lines(o, p, {answer(p), "move @", "move @"});
         const auto m = moves_of(o);
         ASSERT_EQ(m.size(), 2u);
         expect_record(o, {"e2e4 ", "=" + m[0], "\n", "g1f3 ", "=" + m[1], "\n"});
     }},
    // xboard speaking in colour commands: "go" after "white" adds nothing.
    {"WhiteThenGo", PAWNS,
     "xboard\nnew\nblack\ntime 100\notim 100\nwhite\ngo\ntime 100\notim 100\nusermove h7h6\nquit\n",
     [](const Outcome& o, const std::string& p) {
         expect_lines(o, p, {"move @", "move @"});
     }},
    {"PingPong", nullptr,
     "xboard\nprotover 2\nping 1\nnew\nforce\nusermove e2e4\nping 2\ntime 100\ngo\nping 3\nquit\n",
     [](const Outcome& o, const std::string& p) {
         expect_lines(o, p, {answer(p), "pong 1", "pong 2", "move @", "pong 3"});
     }},
    // Mate in one: only a1a8 (White) and a8a1 (Black) are right.
    {"SetboardThenGo", nullptr,
     "xboard\nprotover 2\nnew\nforce\nusermove e2e4\nsetboard 6k1/8/6K1/8/8/8/8/R6R w - - 0 40\n"
     "time 1000\ngo\nquit\n",
     [](const Outcome& o, const std::string& p) {
         expect_lines(o, p, {answer(p), "move a1a8"});
         expect_record(o, {"=a1a8"});  // the record starts again
     }},
    {"SetboardBlackToMove", nullptr,
     "xboard\nprotover 2\nnew\nsetboard r7/8/8/8/8/6k1/8/7K b - - 0 1\ntime 1000\ngo\nquit\n",
     [](const Outcome& o, const std::string& p) {
         expect_lines(o, p, {answer(p), "move a8a1"});
         expect_record(o, {"=a8a1", "\n"});
     }},
    // A Black-to-move position played on: the history of the older builds
    // begins with Black's move there.
    {"SetboardBlackToMoveAndOn", nullptr,
     "xboard\nprotover 2\nnew\nsetboard 4k3/7p/8/8/8/8/P7/4K3 b - - 0 1\nusermove h7h6\n"
     "time 100\ngo\nusermove h6h5\nquit\n",
     [](const Outcome& o, const std::string& p) {
         expect_lines(o, p, {answer(p), "move @", "move @"});
         const auto m = moves_of(o);
         ASSERT_EQ(m.size(), 2u);
         // h6h5 could only be refused if White's pawn or king blocked it.
         EXPECT_EQ(count_of(o.out, "Illegal"), 0);
     }},
    {"BadFen", nullptr,
     "xboard\nprotover 2\nnew\nsetboard 8/8/8/8 w - - 0 1\n"
     "setboard rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1 x\n"
     "time 100\nusermove e2e4\nquit\n",
     [](const Outcome& o, const std::string& p) {
         const std::vector<std::string> l = protocol_lines(o);
         const std::size_t k = split_lines(startup_features(p) + protover_answer(p)).size();
         ASSERT_EQ(l.size(), k + 3) << o.out;
         EXPECT_EQ(l[k].compare(0, 17, "Error (bad FEN): "), 0) << l[k];
         EXPECT_EQ(l[k + 1].compare(0, 17, "Error (bad FEN): "), 0) << l[k + 1];
         EXPECT_TRUE(matches(l[k + 2], "move @")) << l[k + 2];
         // The game of "new" goes on unchanged.
         expect_record(o, {"e2e4 ", "=" + moves_of(o).at(0), "\n"});
     }},
    // e2e4 is legal again only if both plies were taken back, g8f6 only if
    // d7d5 was.
    {"UndoInForceMode", nullptr,
     "xboard\nprotover 2\nnew\nforce\nusermove e2e4\nusermove e7e5\nundo\nundo\nusermove e2e4\n"
     "usermove d7d5\nundo\nusermove g8f6\ntime 100\ngo\nquit\n",
     [](const Outcome& o, const std::string& p) {
         expect_lines(o, p, {answer(p), "move @"});
         const auto m = moves_of(o);
         ASSERT_EQ(m.size(), 1u);
         expect_record(o, {"e2e4 ", " e7e5 \n", "e2e4 ", " d7d5 \n", " g8f6 \n", "=" + m[0]});
     }},
    {"ResultThenNew", nullptr,
     "xboard\nprotover 2\nnew\ntime 100\nusermove e2e4\nresult 0-1 {White resigns}\ngo\n"
     "new\ntime 100\nusermove d2d4\nquit\n",
     [](const Outcome& o, const std::string& p) {
         expect_lines(o, p, {answer(p), "move @", "move @"});
         expect_record(o, {"d2d4 ", "=" + moves_of(o).at(1), "\n"});
     }},
    {"GoWithoutALegalMove", nullptr,
     "xboard\nprotover 2\nnew\nsetboard 7k/6Q1/6K1/8/8/8/8/8 b - - 0 1\ngo\n"
     "setboard 7k/5Q2/6K1/8/8/8/8/8 b - - 0 1\ngo\nquit\n",
     [](const Outcome& o, const std::string& p) {
         expect_lines(o, p, {answer(p), "1-0 {White mates}", "1/2-1/2 {Stalemate}"});
     }},
    // The knight on d8 shields Black's king from the new queen; f8f2 is a
    // move only for a rook that castling has brought to f8.
    {"CastlingAndPromotionInForceMode", nullptr,
     "xboard\nprotover 2\nnew\nsetboard r2nk2r/1P6/8/8/8/8/8/R3K2R w KQkq - 0 1\n"
     "usermove b7a8n\nusermove b7a8q\nusermove e8c8\nusermove e8g8\nusermove e1c1\n"
     "usermove f8f2\ntime 100\ngo\nquit\n",
     [](const Outcome& o, const std::string& p) {
         expect_lines(o, p, {answer(p), "Illegal move: b7a8n", "Illegal move: e8c8", "move @"});
     }},
};

class Protocol2
    : public ProgramTest,
      public ::testing::WithParamInterface<std::tuple<std::string, int>> {};

TEST_P(Protocol2, Sequence) {
    const auto& [program, k] = GetParam();
    const Sequence& s = SEQUENCES[k];
    if (s.board) board(s.board);
    const Outcome o = run(s.input, program);
    EXPECT_EQ(o.rc, 0);
    s.check(o, program);
}

INSTANTIATE_TEST_SUITE_P(
    Programs, Protocol2,
    ::testing::Combine(::testing::ValuesIn(built_programs()),
                       ::testing::Range(0, static_cast<int>(std::size(SEQUENCES)))),
    [](const ::testing::TestParamInfo<Protocol2::ParamType>& info) {
        return std::get<0>(info.param) + "_" + SEQUENCES[std::get<1>(info.param)].name;
    });

// Held the way an interface holds it: the features come back while the
// interface is still waiting, with no more input; after a move a SIGTERM
// loses neither the record nor the log.
class HeldByAnInterface : public ProgramTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(HeldByAnInterface, AnswersAtOnceAndKeepsTheRecordThroughSigterm) {
    const std::string program = GetParam();
    Session s(dir, program);
    ASSERT_TRUE(s.started());
    s.send("xboard\nprotover 2\n");
    const std::string features = s.read_until("feature ping=1", 60);
    EXPECT_EQ(features, startup_features(program) + protover_answer(program));
    s.send("new\ntime 100\notim 100\nusermove e2e4\n");
    const std::string out = s.read_until("move ", 60);
    const auto lines = split_lines(out);
    ASSERT_FALSE(lines.empty());
    const std::string move = lines.back().substr(5);
    ASSERT_TRUE(is_move_text(move)) << out;
    EXPECT_EQ(s.stop_with(SIGTERM), SIGTERM);
    const std::string record = slurp(dir / "zapisparti.txt");
    std::size_t at = 5;
    EXPECT_EQ(record.compare(0, 5, "e2e4 "), 0) << record;
    EXPECT_TRUE(engine_part(record, at, move) && record.substr(at) == "\n") << record;
    EXPECT_EQ(slurp(dir / "zapiswinbord.txt"), "protover 2\nnew\ntime 100\notim 100\nusermove e2e4\n");
}

INSTANTIATE_TEST_SUITE_P(Programs, HeldByAnInterface, ::testing::ValuesIn(built_programs()),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param; });

}  // namespace
}  // namespace morvelak::test
