// The attack map and the generator that reads it.
#include <algorithm>

#include "tests/position_m26/support.hpp"

namespace morvelak::test {
namespace {

struct MapCase {
    const char* name;
    const char* rows;
    Side attacker;
    std::vector<std::pair<const char*, int>> expected;  // square, exact map byte
};

// Exact bytes on chosen squares: one bit per attacking kind, rays that run
// through the enemy king, and the first blocking piece of either colour.
TEST(Siatka, MarksEachKindOfAttacker) {
    const std::vector<MapCase> cases = {
        {"all six kinds on d5",
         "G......k" "........" "....K..." ".......H" "..P..S.." "........" "........" "...W....",
         Side::White,
         {{"d5", 63}, {"e5", 32 | 16}, {"e4", 4}, {"b5", 1 | 16}, {"h8", 16}}},
        {"black mirror of the six kinds",
         "...w...." "........" "........" "..p..s.." ".......h" "....k..." "........" "g......K",
         Side::Black,
         {{"d4", 63}, {"e4", 32 | 16}, {"e5", 4}, {"b4", 1 | 16}, {"h1", 16}}},
        {"a rook's ray runs through the enemy king",
         "........" "........" "........" "........" "W..k...." "........" "........" ".......K",
         Side::White,
         {{"b4", 8}, {"d4", 8}, {"e4", 8}, {"h4", 8}, {"a8", 8}, {"a1", 8}, {"b5", 0}}},
        {"the first piece of either colour stops a ray and is marked",
         "........" "........" "........" "........" "........" "....P..." ".P.s...." "..G....K",
         Side::White,
         {{"d2", 4}, {"b2", 4}, {"a3", 1}, {"c3", 1}, {"e3", 0}, {"f4", 1}, {"d4", 1}}},
        {"a black queen's rays through the white king, stopped by a white pawn",
         "....h..." "........" "..P....." "....K..." "........" "........" "........" ".......k",
         Side::Black,
         {{"e4", 16}, {"e1", 16}, {"e5", 16}, {"d7", 16}, {"c6", 16}, {"b5", 0}, {"a4", 0}}},
        {"a pawn marks both diagonals whatever stands there",
         "....k..." "........" "........" "........" "...s.S.." "....P..." "........" "....K...",
         Side::White,
         {{"d4", 1}, {"f4", 1}, {"e4", 0}}},
    };
    for (const MapCase& c : cases) {
        set_up(c.rows);
        i8 si[MAP_SQUARES];
        std::fill(si, si + MAP_SQUARES, i8{0x55});
        if (c.attacker == Side::White) siatka<Side::White>(POS.PL, si, POS.BP);
        else siatka<Side::Black>(POS.PL, si, POS.CP);
        for (auto [square, byte] : c.expected)
            EXPECT_EQ(si[sq(square)], byte) << c.name << ", square " << square;
    }
}

// Where no enemy king is in the way, a marked playing square is exactly an
// attacked square: compare with the attack test over many game positions,
// with the enemy king lifted off the board.
TEST(Siatka, AgreesWithTheAttackTestWithoutTheEnemyKing) {
    int marked = 0;
    for (const Sample& s : game_positions(4, 40)) {
        for (Side a : {Side::White, Side::Black}) {
            s.position.restore();
            i8 si[MAP_SQUARES];
            if (a == Side::White) siatka<Side::White>(POS.PL, si, POS.BP);
            else siatka<Side::Black>(POS.PL, si, POS.CP);
            const int k = a == Side::White ? black_king_square() : white_king_square();
            POS.PL[k] = 0;
            for (int t = 11; t <= 88; ++t) {
                if (!on_board(t)) continue;
                const int test = a == Side::White ? odbicia<Side::White>(POS.PL, t) : odbicia<Side::Black>(POS.PL, t);
                ASSERT_EQ(si[t] != 0, test == 1) << "square " << t;
                marked += test;
            }
        }
    }
    EXPECT_GT(marked, 10000);
}

struct Lists {
    int result;
    std::vector<std::string> quiet, captures;
};

template <Side S> Lists by_map(const i8* si) {
    Move ru[MAX_MOVES], bi[MAX_MOVES];
    int nb = 0;
    const int r = ruchy<S>(POS.PL, own_list<S>(), ru, bi, POS.WYJ, &nb, si);
    if (r < 0) return {r, {}, {}};
    return {r, texts<S>(ru, r), texts<S>(bi, nb)};
}
template <Side S, bool Castling> Lists plain() {
    Move ru[MAX_MOVES], bi[MAX_MOVES];
    int nb = 0;
    const int r = superruchy<S, Castling>(POS.PL, own_list<S>(), ru, bi, POS.WYJ, &nb);
    if (r < 0) return {r, {}, {}};
    return {r, texts<S>(ru, r), texts<S>(bi, nb)};
}
bool has(const std::vector<std::string>& v, const std::string& m) {
    return std::find(v.begin(), v.end(), m) != v.end();
}
template <Side S> void own_map(i8* si) {
    if constexpr (S == Side::White) siatka<Side::Black>(POS.PL, si, POS.CP); else siatka<Side::White>(POS.PL, si, POS.BP);
}

// The king does not take a defended piece, and does not step back along the
// line of a rook that gives check, although neither square is "attacked" to
// the attack test (it looks past the piece, or is blocked by the king).
TEST(Ruchy, KeepsTheKingOffDefendedAndShadowedSquares) {
    // White: king e4 in check from the rook e8; the knight d3 is defended by
    // the pawn c4, the rook f5 is not.
    set_up("....w..k" "........" "........" ".....w.." "..p.K..." "...s...." "........" "........");
    i8 si[MAP_SQUARES];
    siatka<Side::Black>(POS.PL, si, POS.CP);
    const Lists m = by_map<Side::White>(si);
    const Lists p = plain<Side::White, false>();
    EXPECT_TRUE(has(p.captures, "e4d3"));
    EXPECT_FALSE(has(m.captures, "e4d3"));
    EXPECT_TRUE(has(m.captures, "e4f5"));
    EXPECT_EQ(odbicia<Side::Black>(POS.PL, sq("e3")), 0);  // the king hides the square from the test
    EXPECT_TRUE(has(p.quiet, "e4e3"));
    EXPECT_FALSE(has(m.quiet, "e4e3"));
    EXPECT_FALSE(has(m.quiet, "e4f4"));
    EXPECT_FALSE(has(m.quiet, "e4e5"));
    EXPECT_TRUE(has(m.quiet, "e4d4"));

    // The mirror for Black.
    set_up("........" "........" "...S...." "..P.k..." ".....W.." "........" "........" "....W..K");
    siatka<Side::White>(POS.PL, si, POS.BP);
    const Lists c = by_map<Side::Black>(si);
    EXPECT_FALSE(has(c.captures, "e5d6"));
    EXPECT_TRUE(has(c.captures, "e5f4"));
    EXPECT_FALSE(has(c.quiet, "e5e6"));
    EXPECT_TRUE(has(c.quiet, "e5d5"));
}

// Castling reads exactly the king's three squares from the map: e1 f1 g1 for
// the short move, e1 d1 c1 for the long one (b1 may be attacked).  The board
// itself has no attacker, so only the map can refuse.
TEST(Ruchy, CastlesByTheMapSquares) {
    struct Row {
        Side side;
        const char* marked;  // the only non-zero map square, or "" for none
        bool shortCastle, longCastle;
    };
    const std::vector<Row> rows = {
        {Side::White, "", true, true},     {Side::White, "e1", false, false},
        {Side::White, "f1", false, true},  {Side::White, "g1", false, true},
        {Side::White, "h1", true, true},   {Side::White, "d1", true, false},
        {Side::White, "c1", true, false},  {Side::White, "b1", true, true},
        {Side::Black, "", true, true},     {Side::Black, "e8", false, false},
        {Side::Black, "f8", false, true},  {Side::Black, "g8", false, true},
        {Side::Black, "d8", true, false},  {Side::Black, "c8", true, false},
        {Side::Black, "b8", true, true},
    };
    for (const Row& r : rows) {
        set_up("w...k..w" "pppppppp" "........" "........" "........" "........" "PPPPPPPP" "W...K..W",
               "3 3 0 0");
        i8 si[MAP_SQUARES] = {};
        if (*r.marked) si[sq(r.marked)] = MAP_BISHOP;
        const Lists l = r.side == Side::White ? by_map<Side::White>(si) : by_map<Side::Black>(si);
        const char* home = r.side == Side::White ? "h1O-O" : "h8O-O";
        const char* homeLong = r.side == Side::White ? "a1O-O-O" : "a8O-O-O";
        EXPECT_EQ(has(l.quiet, home), r.shortCastle) << "marked " << r.marked;
        EXPECT_EQ(has(l.quiet, homeLong), r.longCastle) << "marked " << r.marked;
    }

    // A real map: the bishop a6 covers f1 through the empty e2.
    set_up("....k..." "........" "g......." "........" "........" "........" "P.....PP" "W...K..W",
           "3 0 0 0");
    i8 si[MAP_SQUARES];
    siatka<Side::Black>(POS.PL, si, POS.CP);
    const Lists l = by_map<Side::White>(si);
    EXPECT_FALSE(has(l.quiet, "h1O-O"));
    EXPECT_TRUE(has(l.quiet, "a1O-O-O"));
}

// Over many game positions: the map generator lists exactly the plain
// generator's moves, in the same order, less the king's moves onto marked
// squares; castling as the generator with castling decides it, and without
// its castling moves it is the search generator without castling.
TEST(Ruchy, IsThePlainGeneratorLessTheKingsMarkedSquares) {
    int dropped = 0, castles = 0, positions = 0;
    for (const Sample& s : game_positions(6, 60)) {
        s.position.restore();
        const Side S = s.toMove;
        i8 si[MAP_SQUARES];
        Lists m, full, bare;
        if (S == Side::White) {
            own_map<Side::White>(si);
            m = by_map<Side::White>(si);
            full = plain<Side::White, true>();
            bare = plain<Side::White, false>();
        } else {
            own_map<Side::Black>(si);
            m = by_map<Side::Black>(si);
            full = plain<Side::Black, true>();
            bare = plain<Side::Black, false>();
        }
        ASSERT_GE(m.result, 0);
        ASSERT_GE(full.result, 0);
        const std::string king = name_of(S == Side::White ? white_king_square() : black_king_square());
        auto off_marked = [&](std::vector<std::string> v) {
            std::erase_if(v, [&](const std::string& t) {
                return t.size() == 4 && t.substr(0, 2) == king && si[sq(t.c_str() + 2)] != 0;
            });
            return v;
        };
        auto no_castling = [](std::vector<std::string> v) {
            std::erase_if(v, [](const std::string& t) { return t.find('O') != std::string::npos; });
            return v;
        };
        ASSERT_EQ(m.captures, off_marked(full.captures));
        ASSERT_EQ(m.quiet, off_marked(full.quiet));
        ASSERT_EQ(no_castling(m.quiet), off_marked(bare.quiet));
        ASSERT_EQ(m.captures, off_marked(bare.captures));
        dropped += static_cast<int>(full.quiet.size() + full.captures.size() - m.quiet.size() -
                                    m.captures.size());
        castles += static_cast<int>(m.quiet.size() - no_castling(m.quiet).size());
        ++positions;
    }
    EXPECT_GT(positions, 1000);
    EXPECT_GT(dropped, 500);
    EXPECT_GT(castles, 50);
}

// The map generator reports a king that can be taken, like the plain one.
TEST(Ruchy, ReportsACapturableKing) {
    set_up("....k..." "........" "........" "........" "........" "........" "........" "....W..K");
    i8 si[MAP_SQUARES];
    siatka<Side::Black>(POS.PL, si, POS.CP);
    EXPECT_EQ(by_map<Side::White>(si).result, -1);
}

}  // namespace
}  // namespace morvelak::test
