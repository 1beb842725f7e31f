// The tests' own referee against the reference perft counts (computed with
// chess.js, promotions to a queen only), so that a move it calls legal or
// illegal in the program and fuzzing tests can be trusted.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "tests/common/referee.hpp"

namespace morvelak::test {
namespace {

long perft(const referee::Position& p, int depth) {
    if (depth == 0) return 1;
    long n = 0;
    for (const std::string& m : p.legal_moves()) {
        referee::Position next = p;
        EXPECT_TRUE(next.play(m)) << m;
        n += perft(next, depth - 1);
    }
    return n;
}

TEST(Referee, CountsLikeTheReferenceToDepthThree) {
    std::ifstream f(MORVELAK_SOURCE_DIR "/tests/position/perft_fixture.txt");
    ASSERT_TRUE(f) << "perft fixture missing";
    int positions = 0;
    for (std::string line; std::getline(f, line);) {
        if (line.empty() || line[0] == '#') continue;
        const std::size_t a = line.find(" ; "), b = line.find(" ; ", a + 3);
        const std::string name = line.substr(0, a), fen = line.substr(a + 3, b - a - 3);
        std::istringstream counts(line.substr(b + 3));
        referee::Position p;
        ASSERT_TRUE(p.set_fen(fen)) << name;
        long expected;
        for (int depth = 1; depth <= 3 && counts >> expected; ++depth)
            EXPECT_EQ(perft(p, depth), expected) << name << " depth " << depth;
        ++positions;
    }
    EXPECT_GT(positions, 20);
}

TEST(Referee, PlaysTheInterfacesTextAndRefusesTheRest) {
    referee::Position p;
    ASSERT_TRUE(p.set_fen("r2nk2r/1P6/8/8/8/8/8/R3K2R w KQkq - 0 1"));
    struct Case { const char* move; bool legal; };
    const Case cases[] = {
        {"b7a8n", false}, {"b7b8k", false}, {"e1g2", false}, {"b7a8q", true},  // queen only
        {"e8c8", false},  // the rook of a8 has gone
        {"e8g8", true},  {"e1c1", true}, {"g8h8", false}, {"g8g7", true}, {"a1b1", false},  // the rook went to d1
        {"d1d8", true},  // the knight
    };
    for (const Case& c : cases) EXPECT_EQ(p.play(c.move), c.legal) << c.move << " in " << p.fen();
    EXPECT_EQ(p.fen(), "Q2R1r2/6k1/8/8/8/8/8/2K4R b - - 0 1");
    EXPECT_FALSE(p.in_check(false));  // the rook of f8 shields its king
    EXPECT_TRUE(p.play("g7g6") && p.play("h1h6") && p.in_check(false));
    // En passant only right after the double step.
    ASSERT_TRUE(p.set_fen("4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1"));
    referee::Position q = p;
    EXPECT_TRUE(q.play("e5d6"));
    EXPECT_EQ(q.at(35), '.');  // the pawn on d5 is gone
    EXPECT_TRUE(p.play("e1d1") && p.play("e8d8"));
    EXPECT_FALSE(p.play("e5d6"));
}

}  // namespace
}  // namespace morvelak::test
