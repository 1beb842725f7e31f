// Each program as a careless interface drives it: colour commands that do
// not fit the side on move, opponent moves for the engine's own colour.  A
// referee of the tests' own follows the game; every move the engine sends
// must be a legal move of the side on move, and only the moves expected are
// sent.
#include <cctype>
#include <tuple>

#include "tests/common/referee.hpp"
#include "tests/programs/support.hpp"

namespace morvelak::test {
namespace {

// One command and what the engine answers to it: "@" a move of the side on
// move, "!" the refusal "Illegal move: " of the command's move, "<N" no
// answer but N plies taken back, any other text that line exactly.
struct Step {
    const char* command;
    std::vector<std::string> answers;
};

struct Sequence {
    const char* name;
    std::vector<Step> steps;
};

const std::vector<Sequence> SEQUENCES = {
    {"WhiteTwice", {{"protover 2", {"P2"}}, {"new", {}}, {"time 50", {}}, {"white", {"@"}}, {"time 50", {}},
                    {"white", {}}, {"usermove e7e5", {"@"}}}},
    {"WhiteWithBlackOnMove", {{"protover 2", {"P2"}}, {"force", {}}, {"usermove e2e4", {}}, {"time 50", {}},
                              {"white", {}}, {"time 50", {}}, {"usermove e7e5", {"@"}}}},
    {"BlackTwice", {{"new", {}}, {"black", {}}, {"black", {}}, {"time 50", {}}, {"usermove e2e4", {"@"}}}},
    {"BlackTwiceOnMoveThenGo", {{"protover 2", {"P2"}}, {"new", {}}, {"force", {}}, {"usermove e2e4", {}},
                                {"black", {}}, {"black", {}}, {"time 50", {}}, {"go", {"@"}}}},
    {"GoWithTheEnginesColourNotOnMove", {{"new", {}}, {"time 50", {}}, {"usermove e2e4", {"@"}}, {"time 50", {}},
                                         {"go", {"@"}}}},
    {"BlackThenGo", {{"new", {}}, {"black", {}}, {"time 50", {}}, {"go", {"@"}}}},
    {"WhiteThenGo", {{"new", {}}, {"time 50", {}}, {"white", {"@"}}, {"go", {}}}},
    {"WhiteThenGoWithBlackOnMove", {{"protover 2", {"P2"}}, {"new", {}}, {"force", {}}, {"usermove e2e4", {}},
                                    {"time 50", {}}, {"white", {}}, {"go", {"@"}}}},
    {"OpponentMoveForTheEnginesColour", {{"new", {}}, {"time 50", {}}, {"white", {"@"}}, {"usermove b1c3", {"!"}},
                                         {"usermove h7h6", {"@"}}}},
    // Take-backs: two plies, or none when there are fewer (said after
    // "protover 2"); morvelak26 takes back for such an interface too.
    {"RemoveForANewerInterface", {{"protover 2", {"P2"}}, {"new", {}}, {"time 50", {}}, {"usermove e2e4", {"@"}},
                                  {"remove", {"<2"}}, {"time 50", {}}, {"usermove e2e4", {"@"}}}},
    {"RemoveRefusedAfterOnePly", {{"protover 2", {"P2"}}, {"new", {}}, {"time 50", {}}, {"white", {"@"}},
                                  {"remove", {"Error (cannot take back): remove"}},
                                  {"usermove h7h6", {"@"}}}},
    // "black" with Black on move: White's move that follows is not White's
    // to make.
    {"WhiteMoveAfterBlackOnBlacksTurn", {{"protover 2", {"P2"}}, {"new", {}}, {"force", {}}, {"usermove e2e4", {}},
                                         {"black", {}}, {"usermove d2d4", {"!"}}, {"time 50", {}}, {"go", {"@"}}}},
};

// Whether the answer is one of the output lines the interface reads (not a
// thinking or progress line, which begin with a digit unless they are a
// result).
bool protocol_line(const std::string& l) {
    if (l.empty()) return false;
    if (l.compare(0, 3, "1-0") == 0 || l.compare(0, 3, "0-1") == 0 || l.compare(0, 7, "1/2-1/2") == 0) return true;
    return !std::isdigit(static_cast<unsigned char>(l[0]));
}

class Sides : public ProgramTest,
              public ::testing::WithParamInterface<std::tuple<std::string, int>> {};

TEST_P(Sides, NoMoveForTheSideNotOnMove) {
    const auto& [program, k] = GetParam();
    const Sequence& seq = SEQUENCES[static_cast<std::size_t>(k)];
    std::string input = "xboard\n";
    for (const Step& s : seq.steps) input += std::string(s.command) + "\n";
    const Outcome o = run(input + "quit\n", program);
    EXPECT_EQ(o.rc, 0);
    std::vector<std::string> got;
    for (const std::string& l : split_lines(o.out))
        if (protocol_line(l)) got.push_back(l);
    std::size_t at = split_lines(startup_features(program)).size();
    referee::Position game = referee::Position::start();
    std::vector<referee::Position> before;  // the position before every ply
    auto play = [&](const std::string& move) {
        before.push_back(game);
        return game.play(move);
    };
    for (const Step& s : seq.steps) {
        const std::string command = s.command;
        const bool opponentMove = command.compare(0, 9, "usermove ") == 0;
        bool refused = false;
        for (const std::string& a : s.answers) {
            if (a == "P2") {
                at += split_lines(protover_answer(program)).size();
                continue;
            }
            if (a[0] == '<') {
                const std::size_t n = static_cast<std::size_t>(a[1] - '0');
                ASSERT_GE(before.size(), n);
                game = before[before.size() - n];
                before.resize(before.size() - n);
                continue;
            }
            ASSERT_LT(at, got.size()) << command << "\n" << o.out;
            const std::string& line = got[at++];
            if (a == "!") {
                EXPECT_EQ(line, "Illegal move: " + command.substr(9)) << command;
                refused = true;
            } else if (a == "@") {
                // The opponent's move comes first; then the engine's reply.
                if (opponentMove && !refused) {
                    ASSERT_TRUE(play(command.substr(9))) << command;
                    refused = true;  // applied once
                }
                ASSERT_TRUE(matches(line, "move @")) << line;
                EXPECT_TRUE(play(line.substr(5))) << line << " is no move of the side on move in "
                                                       << game.fen();
            } else {
                EXPECT_EQ(line, a);
            }
        }
        if (opponentMove && !refused) {
            ASSERT_TRUE(play(command.substr(9))) << command;
        }
    }
    EXPECT_EQ(at, got.size()) << "more than expected:\n" << o.out;
}

INSTANTIATE_TEST_SUITE_P(
    Programs, Sides,
    ::testing::Combine(::testing::ValuesIn(built_programs()),
                       ::testing::Range(0, static_cast<int>(SEQUENCES.size()))),
    [](const ::testing::TestParamInfo<Sides::ParamType>& info) {
        return std::get<0>(info.param) + "_" + SEQUENCES[static_cast<std::size_t>(std::get<1>(info.param))].name;
    });

}  // namespace
}  // namespace morvelak::test
