// The principal variation as text: piece letters, captures, promotions,
// castling in the middle of a line, check and marker texts, the 21-move
// limit, and the first move's coordinate text.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/search/m31/path.hpp"
#include "tests/m31/support.hpp"

namespace morvelak::test {
namespace {

TEST(Sciezka, TextOfLines) {
    const struct {
        const char* fen;
        std::vector<int> pairs;  // (from, to) pairs, flattened
        const char* text;
        int moves;
        const char* move;        // "xxxx": left unchanged
    } cases[] = {
        {START, {22, 32, 87, 66, 0, 0}, "b2b3 Sg8f6 ", 2, "b2b3"},
        // Castling shows as the king's move and leaves king and rook moved.
        {"4k2r/p7/8/8/8/8/P7/4K2R w Kk - 0 1", {21, 31, 71, 61, 18, -1, 61, 51, 16, 56, 88, -1, 31, 41},
         "a2a3 a7a6 Ke1g1 a6a5 Wf1f5 Ke8g8 a3a4 ", 7, "a2a3"},
        {"r3k3/8/8/8/8/8/8/R3K3 w Qq - 0 1", {11, -2, 81, -2, 14, 24}, "Ke1c1 Ke8c8 Wd1d2 ", 3, "e1c1"},
        // A capture that promotes; the new queen then moves and checks.
        {"r6k/1P6/8/8/8/8/8/K7 w - - 0 1", {72, 81, 88, 78, 81, 71}, "b7:a8H+Kh8h7 Ha8a7+", 3, "b7a8"},
        {"4k3/8/8/8/8/7K/6p1/8 b - - 0 1", {27, 17}, "g2g1H ", 1, "g2g1"},
        // Check, then the king would be taken.
        {"4k3/8/8/8/8/8/8/3QK3 w - - 0 1", {14, 58, -4, -4}, "Hd1h5+#", 1, "d1h5"},
        {"rnbqkbnr/pppp1ppp/8/4p3/6P1/5P2/PPPPP2P/RNBQKBNR b KQkq - 0 2", {84, 48}, "Hd8h4+", 1, "d8h4"},
        {START, {25, 45, -1, -1}, "e2e4 zlebicia", 1, "e2e4"},
        {START, {25, 45, -2, -2}, "e2e4 bezbic", 1, "e2e4"},
        // A first pair that is a marker: no move, move text untouched.
        {START, {-5, -5}, "pat", 0, "xxxx"},
        {START, {0, 0}, "", 0, "xxxx"},
        {START, {-4, -4}, "#", 0, "xxxx"},
        // Pairs that are neither a marker nor a move end the line silently.
        {START, {25, 45, -1, -2}, "e2e4 ", 1, "e2e4"},
        {START, {25, 45, 75, 60}, "e2e4 ", 1, "e2e4"},
        {START, {25, 45, 85, 99}, "e2e4 ", 1, "e2e4"},
        {"4k3/8/8/8/8/8/8/3K3R w - - 0 1", {18, -1}, "", 0, "xxxx"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        set_up(c.fen);
        i8 dr[PATH_BYTES] = {};
        for (size_t i = 0; i < c.pairs.size(); ++i) dr[i] = static_cast<i8>(c.pairs[i]);
        const std::vector<i8> before(POS.PL, POS.PL + 100);
        char text[PATH_TEXT_BYTES];
        char move[4] = {'x', 'x', 'x', 'x'};
        EXPECT_EQ(sciezka(POS.PL, text, dr, move), c.moves);
        EXPECT_STREQ(text, c.text);
        EXPECT_EQ(std::string(move, 4), c.move);
        EXPECT_EQ(std::vector<i8>(POS.PL, POS.PL + 100), before) << "the board is only copied";
    }
}

TEST(Sciezka, NeverMoreThanTwentyOneMoves) {
    set_up(START);
    // The b-knights jump out and back for 32 moves.
    i8 dr[PATH_BYTES] = {};
    const int cycle[4][2] = {{12, 33}, {82, 63}, {33, 12}, {63, 82}};
    for (int i = 0; i < 32; ++i) {
        dr[2 * i] = static_cast<i8>(cycle[i % 4][0]);
        dr[2 * i + 1] = static_cast<i8>(cycle[i % 4][1]);
    }
    char text[PATH_TEXT_BYTES];
    char move[4];
    EXPECT_EQ(sciezka(POS.PL, text, dr, move), 21);
    EXPECT_EQ(std::strlen(text), 21u * 6u);
    EXPECT_EQ(std::string(text).substr(120), "Sb1c3 ");
}

}  // namespace
}  // namespace morvelak::test
