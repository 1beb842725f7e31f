// The alpha-beta search, its last ply and the iterative deepening over the
// root moves: king-capture and mate scores, stalemate, repetition, standing
// pat and the quiet-move stop with its counting, twins that must mirror,
// determinism and the search's signature.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/position/material.hpp"
#include "engine/position/legal.hpp"
#include "engine/search/fixed_ply.hpp"
#include "engine/search/m31/search.hpp"
#include "tests/m31/support.hpp"

namespace morvelak::test {
namespace {

constexpr i8 UNTOUCHED = 0x33;

struct Result {
    int value;
    std::vector<i8> path;  // the first 8 bytes of the path buffer
};

std::vector<i8> bytes(std::initializer_list<int> b) { return {b.begin(), b.end()}; }

// A full-width node of depth ply, the side to move White (or Black), that
// lies `below` levels under the first level of the iteration.
Result node(bool white, int ply, int below = 0) {
    i8 path[PATH_BYTES];
    std::memset(path, UNTOUCHED, sizeof path);
    SEARCH.PLY = static_cast<i8>(ply + below);
    const int d = OCENAMAT(POS.PL, 90);
    const std::vector<i8> board(POS.PL, POS.PL + 100);
    const int v = white ? OBLICZB(ply, d, -12000, 12000, 0, path, &SEARCH.TRASA[11])
                        : OBLICZC(ply, d, -12000, 12000, 0, path, &SEARCH.TRASA[11]);
    EXPECT_EQ(std::vector<i8>(POS.PL, POS.PL + 100), board) << "the board is left as it was found";
    return {v, {path, path + 8}};
}

// The last ply; also returns the node counter.
Result last_ply(bool white, int d, int alfa, int beta, int przedluz, u32* counted = nullptr) {
    i8 path[PATH_BYTES];
    std::memset(path, UNTOUCHED, sizeof path);
    SEARCH.L = 0;
    const int v = white ? oblicz_ply1<Side::White>(d, alfa, beta, 0, path, przedluz)
                        : oblicz_ply1<Side::Black>(d, alfa, beta, 0, path, przedluz);
    if (counted) *counted = SEARCH.L;
    return {v, {path, path + 8}};
}

const char* KING_EN_PRISE = "4k3/8/8/8/8/8/8/K3R3 b - - 0 1";  // searched with White to move
const char* QUEEN_UP = "6k1/8/8/8/8/8/8/Q5K1 w - - 0 1";
const char* KINGS = "4k3/8/8/8/8/8/8/4K3 w - - 0 1";

TEST(Search, KingCaptureMateAndStalemateScores) {
    for (bool white : {true, false}) {
        SCOPED_TRACE(white ? "White" : "Black twin");
        const int s = white ? 1 : -1;
        // The move before left the king en prise: 10000 + the depth, "#".
        set_up(KING_EN_PRISE, 0, !white);
        Result r = node(white, 4);
        EXPECT_EQ(r.value, s * 10004);
        EXPECT_EQ(r.path, bytes({-4, -4, UNTOUCHED, UNTOUCHED, UNTOUCHED, UNTOUCHED, UNTOUCHED, UNTOUCHED}));
        for (int ply : {2, 3, 4}) {
            // Mated: every move loses the king at once, and it is in check.
            set_up("8/8/8/8/8/2k5/1q6/K7 w - - 0 1", 0, !white);
            EXPECT_EQ(node(white, ply).value, -s * (9999 + ply));
            // Stalemated: the same without the check scores 0, "pat" per ply.
            set_up("k7/8/8/8/8/1q6/8/K7 w - - 0 1", 0, !white);
            r = node(white, ply);
            EXPECT_EQ(r.value, 0);
            EXPECT_EQ(std::vector<i8>(r.path.begin(), r.path.begin() + 2 * ply), std::vector<i8>(2 * ply, -5));
        }
    }
}

TEST(Search, RepetitionNeedsOneEarlierOccurrenceDeepAndTwoNearTheRoot) {
    set_up(QUEEN_UP);
    const u32 key = SEARCH.TRASA[10];  // this position, as the game's last one
    Result r = node(true, 2, 2);
    EXPECT_EQ(r.value, 0);
    EXPECT_EQ(r.path[0], -4);
    EXPECT_EQ(SEARCH.TRASA[11], key) << "the key goes into the node's slot";
    // At the first two levels below the root move one occurrence is not
    // enough, two are.
    EXPECT_GT(node(true, 2, 1).value, 500);
    SEARCH.TRASA[9] = key;
    EXPECT_EQ(node(true, 2, 1).value, 0);
    // The backward scan stops at the first empty slot.
    SEARCH.TRASA[10] = 0;
    EXPECT_GT(node(true, 2, 2).value, 500);
    // Inside an internal sort: no key, no test, no path.
    set_up(QUEEN_UP);
    SEARCH.TRASA[11] = 12345;
    SEARCH.I = 1;
    r = node(true, 2, 2);
    SEARCH.I = 0;
    EXPECT_GT(r.value, 500);
    EXPECT_EQ(SEARCH.TRASA[11], 12345u);
    EXPECT_EQ(r.path[0], UNTOUCHED);
}

TEST(LastPly, StandPatNoCaptureAndKingCapture) {
    for (bool white : {true, false}) {
        SCOPED_TRACE(white ? "White" : "Black twin");
        const int s = white ? 1 : -1;
        set_up(KINGS, 0, !white);
        // d refutes the caller already: returned at once, the line ends.
        Result r = last_ply(white, s * 150, -100, 100, 0);
        EXPECT_EQ(r.value, s * 150);
        EXPECT_EQ(r.path[0], 0);
        // Nothing to capture: d, "bezbic".
        r = last_ply(white, s * 50, -100, 100, 0);
        EXPECT_EQ(r.value, s * 50);
        EXPECT_EQ(r.path[0], -2);
        // Forcing move, but d short of the own bound: captures only.
        u32 counted;
        r = last_ply(white, s * -500, -100, 100, 1, &counted);
        EXPECT_EQ(r.value, s * -500);
        EXPECT_EQ(r.path[0], -2);
        EXPECT_EQ(counted, 0u);
        // Full width: the first king move keeps d, so the second quiet move
        // ends the search.  White counts that second move before the stop
        // test, Black after it.
        r = last_ply(white, s * 50, -100, 100, 1, &counted);
        EXPECT_EQ(r.value, s * 50);
        EXPECT_GE(r.path[0], 11);
        EXPECT_EQ(r.path[2], 0);
        EXPECT_EQ(counted, white ? 2u : 1u);
        // A king to take, in either mode.
        set_up(KING_EN_PRISE, 0, !white);
        for (int przedluz : {0, 1}) {
            r = last_ply(white, 0, -100, 100, przedluz);
            EXPECT_EQ(r.value, s * 10001);
            EXPECT_EQ(r.path[0], -4);
        }
    }
}

TEST(LastPly, CaptureNotAboveAlfaIsNotAnswered) {
    set_up("4k3/8/2p5/3p4/4P3/8/8/4K3 w - - 0 1");  // e4xd5, c6 takes back
    Result r = last_ply(true, 0, 1000, 2000, 0);
    EXPECT_EQ(r.value, -POS.WART[B_PAWN]);
    EXPECT_EQ(r.path, bytes({45, 54, 0, 0, UNTOUCHED, UNTOUCHED, UNTOUCHED, UNTOUCHED}));
    EXPECT_LT(last_ply(true, 0, -1000, 2000, 0).value, -POS.WART[B_PAWN]);
}

// Iterative deepening over the legal root moves of the side to move.
struct RootResult {
    std::string move;
    int score;  // White's side
    u32 counted;
    std::string thinking;
};

RootResult root(bool white, int n) {
    Move ru[MAX_MOVES];
    const int a = white ? generate_legal<Side::White>(ru) : generate_legal<Side::Black>(ru);
    i8 droga[PATH_BYTES] = {};
    char move[4] = {};
    int score = 0;
    Thinking thinking;
    SEARCH.L = 0;
    const int p = white ? deepen<Side::White>(ru, a, n, droga, move, &score)
                        : deepen<Side::Black>(ru, a, n, droga, move, &score);
    char text[4];
    if (white) move_text<Side::White>(ru[p], text); else move_text<Side::Black>(ru[p], text);
    EXPECT_EQ(std::string(text, 4), std::string(move, 4)) << "the last line shows the move chosen";
    return {std::string(move, 4), score, SEARCH.L, thinking.text()};
}

std::string last_line(const std::string& t) { return t.substr(t.rfind('\n', t.size() - 2) + 1); }

TEST(Root, MateInOneWithItsScore) {
    for (bool white : {true, false}) {
        set_up("6k1/5ppp/8/8/8/8/5PPP/R5K1 w - - 0 1", 0, !white);
        const RootResult r = root(white, 5);
        EXPECT_EQ(r.move, white ? "a1a8" : "h8h1");
        EXPECT_EQ(r.score, (white ? 1 : -1) * (9999 + 5));
        // From the engine's side, with check and the king taken next.
        const std::string last = last_line(r.thinking);
        EXPECT_EQ(last.rfind(white ? "5 10004 1 1 Wa1a8+" : "5 10004 1 1 Wh8h1+", 0), 0u) << last;
        EXPECT_NE(last.find('#'), std::string::npos) << last;
    }
}

TEST(Root, TwinFindsTheMirroredMoveAndScore) {
    const char* positions[] = {
        "6k1/p7/8/3q4/4P3/8/P7/6K1 w - - 0 1",           // the queen hangs to e4xd5
        "r3k3/ppp2ppp/8/1N6/8/8/PPP2PPP/4K3 w - - 0 1",  // Nxc7+ forks king and rook
    };
    for (const char* fen : positions)
        for (int n : {5, 6}) {
            set_up(fen);
            material_only();
            const RootResult w = root(true, n);
            set_up(fen, 0, true);
            material_only();
            const RootResult b = root(false, n);
            EXPECT_EQ(b.move, twin_text(w.move)) << n;
            EXPECT_EQ(b.score, -w.score) << n;
            EXPECT_GT(w.score, 0) << n;
        }
}

TEST(Root, MoreThanOneHundredTwentyLegalMoves) {
    set_up("R6R/3Q4/1Q4Q1/4Q3/2Q4Q/Q4Q2/pp1Q4/kBNN1KB1 w - - 0 1");
    Move ru[MAX_MOVES];
    const int a = generate_legal<Side::White>(ru);
    ASSERT_EQ(a, 218);
    i8 droga[PATH_BYTES] = {};
    char move[4];
    int score = 0;
    Thinking thinking;
    deepen<Side::White>(ru, a, 3, droga, move, &score);
    EXPECT_GE(score, 10000) << "mate in one is there";
}

TEST(Root, OnlyWhiteClearsTheCounterWhenItStarts) {
    for (bool white : {true, false}) {
        set_up(QUEEN_UP, 0, !white);
        Move ru[MAX_MOVES];
        const int a = white ? generate_legal<Side::White>(ru) : generate_legal<Side::Black>(ru);
        i8 droga[PATH_BYTES] = {};
        char move[4];
        int score;
        Thinking thinking;
        SEARCH.L = 100000000;
        if (white) deepen<Side::White>(ru, a, 5, droga, move, &score);
        else deepen<Side::Black>(ru, a, 5, droga, move, &score);
        EXPECT_EQ(SEARCH.L < 100000000u, white);
    }
}

// The same search twice gives the same nodes, lines and move.  With the
// evaluation cut down to material, tuning the evaluation leaves the counts
// alone: they change only when what the search visits changes.  Target
// depth 9 takes in the internal sorts of the deep nodes and the late sort
// one level below the root.
TEST(Root, DeterministicWithItsSignature) {
    const struct {
        const char* fen;
        int plies, n;
        bool material;
        u32 nodes;
        const char* move;
    } cases[] = {
        {START, 0, 6, false, 0, nullptr},
        {"r1bq1rk1/2p1bppp/p1np1n2/1p2p3/4P3/1BPP1N2/PP3PPP/RNBQR1K1 w - - 0 9", 0, 6, true, 33023, "b3c2"},
        {"r1b1k2r/ppp2ppp/2np1n2/2b1p3/2B1P3/2NP1N2/PPP2PPP/R1BQ1RK1 b kq - 0 1", 1, 6, true, 84481, "e8g8"},
        {"r1bq1rk1/2p1bppp/p1np1n2/1p2p3/4P3/1BPP1N2/PP3PPP/RNBQR1K1 w - - 0 9", 0, 9, true, 0, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fen);
        RootResult r[2];
        for (RootResult& x : r) {
            set_up(c.fen, c.plies);
            if (c.material) material_only();
            x = root(std::strstr(c.fen, " w ") != nullptr, c.n);
            EXPECT_EQ(SEARCH.I, 0);
        }
        EXPECT_EQ(r[0].counted, r[1].counted);
        EXPECT_EQ(r[0].move, r[1].move);
        EXPECT_EQ(r[0].thinking, r[1].thinking);
        EXPECT_EQ(last_line(r[0].thinking).substr(0, 2), std::to_string(c.n) + " ");
        if (c.move) {
            EXPECT_EQ(r[0].counted, c.nodes);
            EXPECT_EQ(r[0].move, c.move);
        }
    }
}

// Every build's node picks its body by ply: each fixed ply its own, in
// whatever order they are listed, every other ply (the border cases beside
// them included) the general one, and each body runs exactly once.
TEST(FixedPly, EachListedPlyItsOwnBodyEveryOtherTheGeneral) {
    const struct {
        int ply, expect;
    } cases[] = {{-1, 0}, {0, 0}, {1, 0}, {2, 2}, {3, 3}, {4, 0}, {20, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ply);
        int calls = 0;
        auto body = [&]<int P>() {
            ++calls;
            return P;
        };
        EXPECT_EQ((at_fixed_ply<2, 3>(c.ply, body)), c.expect);
        EXPECT_EQ((at_fixed_ply<3, 2>(c.ply, body)), c.expect);
        EXPECT_EQ(calls, 2);
    }
    // A body compiled for ply 0 is the general one, never a fixed ply.
    EXPECT_EQ(at_fixed_ply<2>(0, []<int P>() { return P == 0 ? 1 : -1; }), 1);
}

}  // namespace
}  // namespace morvelak::test
