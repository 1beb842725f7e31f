// Perft against counts made by an independent generator (chess.js, queen-only
// promotions; see tools/perft-reference), and the perft program itself.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

#include "engine/position/perft.hpp"
#include "support.hpp"

namespace morvelak::test {
namespace {

struct FixtureLine {
    std::string name, fen;
    std::vector<unsigned long long> counts;  // depth 1, 2, ...
};

std::string trim(const std::string& s) {
    const auto b = s.find_first_not_of(" \t\r");
    const auto e = s.find_last_not_of(" \t\r");
    return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

std::vector<FixtureLine> read_fixture() {
    std::ifstream in(MORVELAK_SOURCE_DIR "/tests/position/perft_fixture.txt");
    std::vector<FixtureLine> out;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        const auto a = line.find(';'), b = line.find(';', a + 1);
        if (a == std::string::npos || b == std::string::npos) {
            ADD_FAILURE() << "bad fixture line: " << line;
            continue;
        }
        FixtureLine f{trim(line.substr(0, a)), trim(line.substr(a + 1, b - a - 1)), {}};
        std::istringstream counts(line.substr(b + 1));
        for (unsigned long long n; counts >> n;) f.counts.push_back(n);
        out.push_back(f);
    }
    return out;
}

TEST(Perft, MatchesReferenceCountsToDepthFour) {
    const auto lines = read_fixture();
    ASSERT_GE(lines.size(), 40u) << "fixture missing or truncated";
    for (const auto& f : lines) {
        SCOPED_TRACE(f.name + ": " + f.fen);
        ASSERT_GE(f.counts.size(), 4u);
        const Side side = setup_fen(f.fen);
        const Position before = POS;
        for (int d = 1; d <= 4; ++d) EXPECT_EQ(perft(side, d), f.counts[d - 1]) << "depth " << d;
        EXPECT_TRUE(POS == before) << "perft left the position changed";
    }
}

// One ply deeper where it is cheap.  Only positions without castling rights:
// with rights, the engine's rule (a right is lost only by castling; the king
// and rook moving away and back keep it) gives more sequences than the rules
// of chess from five plies on.
TEST(Perft, DepthFiveWithoutCastlingRights) {
    int checked = 0;
    for (const auto& f : read_fixture()) {
        if (f.counts.size() < 5 || f.counts[4] > 1000000) continue;
        FenPosition pos;
        std::string error;
        ASSERT_TRUE(parse_fen(f.fen, pos, error));
        if (pos.wyj[0] != 0 || pos.wyj[1] != 0) continue;
        SCOPED_TRACE(f.name + ": " + f.fen);
        const Side side = setup_fen(f.fen);
        EXPECT_EQ(perft(side, 5), f.counts[4]);
        ++checked;
    }
    EXPECT_GE(checked, 15);
}

// Runs the perft program; returns its exit status and its two output streams.
struct ProgramRun {
    int status;
    std::string out, err;
};

std::string slurp(const std::filesystem::path& p) {
    std::ifstream in(p);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

ProgramRun run_perft(const std::string& args) {
    const auto dir = std::filesystem::temp_directory_path();
    const auto out = dir / ("perft_out_" + std::to_string(::getpid()));
    const auto err = dir / ("perft_err_" + std::to_string(::getpid()));
    const std::string cmd = std::string(MORVELAK_BINARY_DIR "/perft ") + args + " >" + out.string() +
                            " 2>" + err.string();
    const int raw = std::system(cmd.c_str());
    ProgramRun r{-1, slurp(out), slurp(err)};
    if (raw != -1 && WIFEXITED(raw)) r.status = WEXITSTATUS(raw);
    else if (raw != -1 && WIFSIGNALED(raw)) r.status = 128 + WTERMSIG(raw);
    std::filesystem::remove(out);
    std::filesystem::remove(err);
    return r;
}

TEST(PerftProgram, PrintsOneLinePerDepth) {
    ASSERT_TRUE(std::filesystem::exists(MORVELAK_BINARY_DIR "/perft")) << "build the perft target";
    const struct {
        const char* fen;
        const char* expected;
    } cases[] = {
        {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", "perft 1 20\nperft 2 400\nperft 3 8902\n"},
        {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
         "perft 1 48\nperft 2 2039\nperft 3 97862\n"},
        // Promotions count once each: 15 moves at depth 1, where counting every
        // promotion piece would give 24.  Two FEN fields are enough.
        {"n1n5/PPPk4/8/8/8/8/4Kppp/5N1N b - -", "perft 1 15\nperft 2 210\nperft 3 3253\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fen);
        const ProgramRun r = run_perft(std::string("'") + c.fen + "' 3");
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.out, c.expected);
        EXPECT_EQ(r.err, "");
    }
}

TEST(PerftProgram, RejectsBadInputWithStatusTwo) {
    ASSERT_TRUE(std::filesystem::exists(MORVELAK_BINARY_DIR "/perft")) << "build the perft target";
    // Each entry: arguments and whether the program must refuse them.
    const struct {
        const char* args;
        bool refused;
    } table[] = {
        {"'hello world' 3", true},
        {"'' 3", true},
        {"'rnbqkbnr/pppppppp/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1' 3", true},    // 7 ranks
        {"'rnbqkbnr/pppppppp/8/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1' 3", true},  // 9 ranks
        {"'rnbq1bnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQ - 0 1' 3", true},      // no black king
        {"'8/8/8/8/8/8/8/8 w - - 0 1' 3", true},                                   // no king at all
        {"'Pnbqkbnr/1ppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQk - 0 1' 3", true},    // pawn on rank 8
        {"'rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNp w Qkq - 0 1' 3", true},    // pawn on rank 1
        {"'rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR x KQkq - 0 1' 3", true},   // bad side letter
        {"'rnbqkbnr/pppppppp/9/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1' 3", true},   // a '9'
        {"'rnbqkbnr/pppppppp/53/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1' 3", false},  // 5 + 3 squares
        {"'rnbqkbnr/pppppppp/54/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1' 3", true},   // 5 + 4 squares
        {"'rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBN w Qkq - 0 1' 3", true},      // 7 squares on rank 1
        {"'4k3/8/8/8/8/8/8/r3K3 b - - 0 1' 3", true},                              // Black could take the king
        {"'rnbqkbnr/ppppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1' 3", true},  // 9 pawns on a rank
        {"'4k3/8/8/8/8/8/8/4K3 w - e6 0 1' 3", true},                             // en passant, no pawn
        {"'4k3/8/8/8/8/8/8/R3K3 w - - 0 1' 3", false},
        {"'rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1' 0", true},   // depth 0
        {"'rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1' x", true},   // depth not a number
        {"'rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1'", true},     // depth missing
    };
    for (const auto& c : table) {
        SCOPED_TRACE(c.args);
        const ProgramRun r = run_perft(c.args);
        if (c.refused) {
            EXPECT_EQ(r.status, 2);
            EXPECT_EQ(r.out, "");
            EXPECT_NE(r.err, "");
        } else {
            EXPECT_EQ(r.status, 0);
            EXPECT_EQ(r.err, "");
        }
    }
}

}  // namespace
}  // namespace morvelak::test
