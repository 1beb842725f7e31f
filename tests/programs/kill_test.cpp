// Killed in the middle of a search, the way an interface or a user ends an
// engine that thinks too long: the game record and the protocol log hold
// every line completed before the signal, each whole, and nothing after it.
#include <signal.h>

#include <tuple>

#include "tests/common/referee.hpp"
#include "tests/programs/support.hpp"

namespace morvelak::test {
namespace {

class Killed : public ProgramTest, public ::testing::WithParamInterface<std::tuple<std::string, int>> {};

TEST_P(Killed, MidSearchLeavesEveryCompletedLineWhole) {
    const auto& [program, sig] = GetParam();
    Session s(dir, program);
    ASSERT_TRUE(s.started());
    std::string sent = "protover 2\nnew\nlevel 0 60 0\n";
    s.send("xboard\n" + sent);
    // White plays the referee's first legal move.  The engine answers the
    // first with a second on its clock, quickly; then it has an hour, and
    // every quick answer deepens its next search, so within a few moves one
    // runs for seconds: two seconds without an answer and the signal comes in
    // the middle of it, with at least one whole line in the record.
    referee::Position game = referee::Position::start();
    std::string record;  // the lines the record must hold, `matches` pattern
    bool thinking = false;
    for (int k = 1; k <= 30 && !thinking; ++k) {
        const std::string white = game.legal_moves().at(0);
        ASSERT_TRUE(game.play(white));
        const std::string clock = k == 1 ? "100" : "360000";
        const std::string lines = "time " + clock + "\notim " + clock + "\nusermove " + white + "\n";
        s.send(lines);
        sent += lines;
        record += white + " ";
        const auto got = split_lines(s.read_until_count("move ", k, k == 1 ? 60 : 2));
        std::vector<std::string> moves;
        for (const std::string& l : got)
            if (l.compare(0, 5, "move ") == 0) moves.push_back(l.substr(5));
        if (static_cast<int>(moves.size()) < k) {
            ASSERT_GT(k, 1) << "no answer to the first move";
            thinking = true;
        } else {
            ASSERT_TRUE(game.play(moves.back())) << moves.back();
            ASSERT_FALSE(game.legal_moves().empty()) << "the game ended before a long search";
            record += "# " + moves.back() + " ~ #.#\n";
        }
    }
    ASSERT_TRUE(thinking) << "no search lasted two seconds";
    EXPECT_EQ(s.stop_with(sig), sig);
    // Whole lines for the full moves played, then White's half of the next.
    const std::string got = slurp(dir / "zapisparti.txt");
    EXPECT_TRUE(matches(got, record)) << got << "\nexpected " << record;
    EXPECT_EQ(slurp(dir / "zapiswinbord.txt"), sent);
}

INSTANTIATE_TEST_SUITE_P(
    Programs, Killed,
    ::testing::Combine(::testing::ValuesIn(built_programs()), ::testing::Values(SIGKILL, SIGTERM)),
    [](const ::testing::TestParamInfo<Killed::ParamType>& info) {
        return std::get<0>(info.param) + (std::get<1>(info.param) == SIGKILL ? "_Sigkill" : "_Sigterm");
    });

}  // namespace
}  // namespace morvelak::test
