// The principal variation as text: piece letters, captures, promotions,
// castling in the middle of a line, check and marker texts, the 21-move
// limit, and the first move's coordinate text.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/search/m31/path.hpp"
#include "tests/search31/support.hpp"

namespace morvelak::searchtest {
namespace {

struct PathCase {
    const char* name;
    const char* rows;
    std::vector<int> pairs;  // flattened (from, to) pairs
    const char* text;
    int moves;
    const char* move;        // first move's coordinate text ("xxxx": unchanged)
};

TEST(Sciezka, TextOfLines) {
    const std::vector<PathCase> cases = {
        {"example from the start", START, {22, 32, 87, 66, 0, 0}, "b2b3 Sg8f6 ", 2, "b2b3"},
        {"castling mid-line moves king and rook",
         "....k..w"
         "p......."
         "........"
         "........"
         "........"
         "........"
         "P......."
         "....K..W",
         {21, 31, 71, 61, 18, -1, 61, 51, 16, 56, 88, -1, 31, 41, 0, 0},
         "a2a3 a7a6 Ke1g1 a6a5 Wf1f5 Ke8g8 a3a4 ", 7, "a2a3"},
        {"long castling of both colours",
         "w...k..."
         "........"
         "........"
         "........"
         "........"
         "........"
         "........"
         "W...K...",
         {11, -2, 81, -2, 14, 24, 0, 0}, "Ke1c1 Ke8c8 Wd1d2 ", 3, "e1c1"},
        {"capture with promotion, then the queen moves",
         "w......k"
         ".P......"
         "........"
         "........"
         "........"
         "........"
         "........"
         "K.......",
         {72, 81, 88, 78, 81, 71, 0, 0}, "b7:a8H+Kh8h7 Ha8a7+", 3, "b7a8"},
        {"check then a king en prise",
         "....k..."
         "........"
         "........"
         "........"
         "........"
         "........"
         "........"
         "...HK...",
         {14, 58, -4, -4}, "Hd1h5+#", 1, "d1h5"},
        {"a black check",
         "wsghkgsw"
         "pppp.ppp"
         "........"
         "....p..."
         "......P."
         ".....P.."
         "PPPPP..P"
         "WSGHKGSW",
         {84, 48, 0, 0}, "Hd8h4+", 1, "d8h4"},
        {"black promotion",
         "....k..."
         "........"
         "........"
         "........"
         "........"
         ".......K"
         "......p."
         "........",
         {27, 17, 0, 0}, "g2g1H ", 1, "g2g1"},
        {"standing pat closes a line", START, {25, 45, -1, -1}, "e2e4 zlebicia", 1, "e2e4"},
        {"no capture closes a line", START, {25, 45, -2, -2}, "e2e4 bezbic", 1, "e2e4"},
        {"stalemate marker", START, {-5, -5}, "pat", 0, "xxxx"},
        {"end marker first", START, {0, 0}, "", 0, "xxxx"},
        {"king-taken marker first", START, {-4, -4}, "#", 0, "xxxx"},
        {"mixed pair is no marker", START, {25, 45, -1, -2}, "e2e4 ", 1, "e2e4"},
        {"destination on the border", START, {25, 45, 75, 60}, "e2e4 ", 1, "e2e4"},
        {"destination beyond the board", START, {25, 45, 85, 99}, "e2e4 ", 1, "e2e4"},
        {"castling pair without the king at home",
         "....k..."
         "........"
         "........"
         "........"
         "........"
         "........"
         "........"
         "...K...W",
         {18, -1, 0, 0}, "", 0, "xxxx"},
    };
    for (const PathCase& c : cases) {
        SCOPED_TRACE(c.name);
        set_up(c.rows);
        i8 dr[PATH_BYTES] = {};
        for (size_t i = 0; i < c.pairs.size(); ++i) dr[i] = static_cast<i8>(c.pairs[i]);
        const std::vector<i8> before(PL, PL + 100);
        char text[PATH_TEXT_BYTES];
        char move[4] = {'x', 'x', 'x', 'x'};
        EXPECT_EQ(sciezka(PL, text, dr, move), c.moves);
        EXPECT_STREQ(text, c.text);
        EXPECT_EQ(std::string(move, 4), c.move);
        EXPECT_EQ(std::vector<i8>(PL, PL + 100), before) << "the board is only copied";
    }
}

TEST(Sciezka, NeverMoreThanTwentyOneMoves) {
    set_up(START);
    // The b-knights jump out and back for 32 moves, then the end marker.
    i8 dr[PATH_BYTES] = {};
    const int cycle[4][2] = {{12, 33}, {82, 63}, {33, 12}, {63, 82}};
    for (int i = 0; i < 32; ++i) {
        dr[2 * i] = static_cast<i8>(cycle[i % 4][0]);
        dr[2 * i + 1] = static_cast<i8>(cycle[i % 4][1]);
    }
    char text[PATH_TEXT_BYTES];
    std::memset(text, 'z', sizeof text);
    char move[4];
    EXPECT_EQ(sciezka(PL, text, dr, move), 21);
    EXPECT_EQ(std::strlen(text), 21u * 6u);
    EXPECT_EQ(std::string(text).substr(120), "Sb1c3 ");
}

}  // namespace
}  // namespace morvelak::searchtest
