// The alpha-beta search and its last ply: king capture and mate scores,
// stalemate, repetition, standing pat, the quiet-move stop with its counting,
// a position against its colour-mirrored twin, and determinism.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/eval/material.hpp"
#include "engine/position/legal.hpp"
#include "engine/search/m31/path.hpp"
#include "engine/search/m31/search.hpp"
#include "tests/search31/support.hpp"

namespace morvelak::searchtest {
namespace {

constexpr i8 UNTOUCHED = 0x33;

struct Node {
    int value;
    std::vector<i8> path;  // the first 8 pairs of the path buffer
};

// One full-width node of side `white` ? White : Black to move, PLY = ply.
Node search(bool white, int ply, int alfa = -12000, int beta = 12000, int pliesBelowRoot = 0) {
    i8 path[PATH_BYTES];
    std::memset(path, UNTOUCHED, sizeof path);
    PLY = static_cast<i8>(ply + pliesBelowRoot);
    const int d = OCENAMAT(PL, 90);
    const std::vector<i8> before(PL, PL + 100);
    const int v = white ? OBLICZB(ply, d, alfa, beta, 0, path, &TRASA[11])
                        : OBLICZC(ply, d, alfa, beta, 0, path, &TRASA[11]);
    EXPECT_EQ(std::vector<i8>(PL, PL + 100), before) << "the search leaves the board as it found it";
    return {v, {path, path + 16}};
}

std::vector<i8> pairs(std::initializer_list<int> bytes) {
    std::vector<i8> v;
    for (int b : bytes) v.push_back(static_cast<i8>(b));
    return v;
}

std::vector<i8> head(const Node& n, int bytes) { return {n.path.begin(), n.path.begin() + bytes}; }

TEST(Search, KingCaptureAfterAnIllegalMove) {
    // White to move can take the black king: the move before was illegal.
    const char* rows =
        "....k..."
        "........"
        "........"
        "........"
        "........"
        "........"
        "........"
        "K...W...";
    for (bool white : {true, false}) {
        set_up(white ? rows : rotated(rows));
        const Node n = search(white, 4);
        EXPECT_EQ(n.value, white ? 10004 : -10004);
        EXPECT_EQ(head(n, 3), pairs({-4, -4, UNTOUCHED}));
    }
}

TEST(Search, StalemateScoresZeroWithItsMarker) {
    // White's king on a1 has only squares the queen on b3 covers.
    const char* rows =
        "k......."
        "........"
        "........"
        "........"
        "........"
        ".h......"
        "........"
        "K.......";
    for (bool white : {true, false})
        for (int ply : {2, 3, 4}) {
            SCOPED_TRACE(std::string(white ? "White" : "Black") + " ply " + std::to_string(ply));
            set_up(white ? rows : rotated(rows));
            const Node n = search(white, ply);
            EXPECT_EQ(n.value, 0);
            EXPECT_EQ(head(n, 2 * ply), std::vector<i8>(2 * ply, -5));
        }
}

TEST(Search, MatedSideScoresTheDepthItWasMatedAt) {
    // White's king on a1 is in check from the queen on b2, which the black
    // king defends.
    const char* rows =
        "........"
        "........"
        "........"
        "........"
        "........"
        "..k....."
        ".h......"
        "K.......";
    for (bool white : {true, false})
        for (int ply : {2, 3, 5}) {
            set_up(white ? rows : rotated(rows));
            EXPECT_EQ(search(white, ply).value, (white ? -1 : 1) * (9999 + ply)) << ply;
        }
}

// White a queen up; its key is the last one of the game window.
const char* QUEEN_UP =
    "......k."
    "........"
    "........"
    "........"
    "........"
    "........"
    "........"
    "H.....K.";

TEST(Search, RepetitionNeedsOneEarlierOccurrenceDeepAndTwoNearTheRoot) {
    set_up(QUEEN_UP);
    const u32 key = TRASA[10];
    // Two levels below the root move (PLY = 4, ply = 2): one earlier
    // occurrence is a draw.
    Node n = search(true, 2, -12000, 12000, 2);
    EXPECT_EQ(n.value, 0);
    EXPECT_EQ(head(n, 2), pairs({-4, -4}));
    EXPECT_EQ(TRASA[11], key);
    // At the first two levels (ply >= PLY - 1) it takes two.
    n = search(true, 2, -12000, 12000, 1);
    EXPECT_GT(n.value, 500);
    TRASA[9] = key;
    EXPECT_EQ(search(true, 2, -12000, 12000, 1).value, 0);
    // The backward scan stops at the first empty slot.
    TRASA[10] = 0;
    TRASA[9] = key;
    EXPECT_GT(search(true, 2, -12000, 12000, 2).value, 500);
}

TEST(Search, InternalSortWritesNoKeyAndNoPath) {
    set_up(QUEEN_UP);
    TRASA[11] = 12345;
    I = 1;
    const Node n = search(true, 2, -12000, 12000, 2);
    I = 0;
    EXPECT_GT(n.value, 500) << "no repetition test";
    EXPECT_EQ(TRASA[11], 12345u);
    EXPECT_EQ(head(n, 2), pairs({UNTOUCHED, UNTOUCHED}));
}

// Last ply.
struct Ply1 {
    int value;
    std::vector<i8> path;
    u32 counted;
};

Ply1 last_ply(bool white, int d, int alfa, int beta, int przedluz) {
    i8 path[PATH_BYTES];
    std::memset(path, UNTOUCHED, sizeof path);
    L = 0;
    const int v = white ? OBLICZBPLY1(d, alfa, beta, 0, path, przedluz)
                        : OBLICZCPLY1(d, alfa, beta, 0, path, przedluz);
    return {v, {path, path + 6}, L};
}

const char* KINGS =
    "....k..."
    "........"
    "........"
    "........"
    "........"
    "........"
    "........"
    "....K...";

TEST(LastPly, StandPatAndNoCapture) {
    for (bool white : {true, false}) {
        set_up(white ? KINGS : rotated(KINGS));
        const int s = white ? 1 : -1;  // White's scores turned for Black
        // d already refutes the caller: returned at once with an empty line.
        Ply1 r = last_ply(white, s * 150, -100, 100, 0);
        EXPECT_EQ(r.value, s * 150);
        EXPECT_EQ(r.path, pairs({0, 0, UNTOUCHED, UNTOUCHED, UNTOUCHED, UNTOUCHED}));
        // Nothing to capture: d, with the "no capture" marker.
        r = last_ply(white, s * 50, -100, 100, 0);
        EXPECT_EQ(r.value, s * 50);
        EXPECT_EQ(r.path, pairs({-2, -2, UNTOUCHED, UNTOUCHED, UNTOUCHED, UNTOUCHED}));
        // After a forcing move that did not reach the own bound: captures
        // only, standing pat allowed.
        r = last_ply(white, s * -500, -100, 100, 1);
        EXPECT_EQ(r.value, s * -500);
        EXPECT_EQ(r.path, pairs({-2, -2, UNTOUCHED, UNTOUCHED, UNTOUCHED, UNTOUCHED}));
        EXPECT_EQ(r.counted, 0u);
    }
}

TEST(LastPly, QuietMovesStopOnceTheStaticValueIsReached) {
    // Full width after a forcing move: the first king move keeps d, so the
    // second quiet move ends the search.  White counts that second move
    // before its stop test, Black after it.
    for (bool white : {true, false}) {
        set_up(white ? KINGS : rotated(KINGS));
        const int s = white ? 1 : -1;
        const Ply1 r = last_ply(white, s * 50, -100, 100, 1);
        EXPECT_EQ(r.value, s * 50);
        EXPECT_GE(r.path[0], 11);
        EXPECT_EQ(r.path[2], 0);
        EXPECT_EQ(r.path[3], 0);
        EXPECT_EQ(r.counted, white ? 2u : 1u);
    }
}

TEST(LastPly, KingCapture) {
    const char* rows =
        "....k..."
        "........"
        "........"
        "........"
        "........"
        "........"
        "........"
        "K...W...";
    for (bool white : {true, false})
        for (int przedluz : {0, 1}) {
            set_up(white ? rows : rotated(rows));
            const Ply1 r = last_ply(white, 0, -100, 100, przedluz);
            EXPECT_EQ(r.value, white ? 10001 : -10001);
            EXPECT_EQ(r.path[0], -4);
            EXPECT_EQ(r.path[1], -4);
        }
}

TEST(LastPly, CaptureBelowTheBoundIsNotAnswered) {
    // e4xd5, and c6 can take back.
    const char* rows =
        "....k..."
        "........"
        "..p....."
        "...p...."
        "....P..."
        "........"
        "........"
        "....K...";
    set_up(rows);
    // Not above alfa: the capture keeps its material result unanswered.
    Ply1 r = last_ply(true, 0, 1000, 2000, 0);
    EXPECT_EQ(r.value, -WART[B_PAWN]);
    EXPECT_EQ(r.path, pairs({45, 54, 0, 0, UNTOUCHED, UNTOUCHED}));
    // Above alfa: Black's recapture is counted and standing pat wins.
    r = last_ply(true, 0, -1000, 2000, 0);
    EXPECT_LT(r.value, -WART[B_PAWN]);
}

// Root searches.
struct RootResult {
    std::string move;
    int score;  // White's side
    int index;
    u32 counted;
    std::string thinking;
};

RootResult root(bool white, int n) {
    Move ru[MAX_MOVES];
    const int a = white ? generate_legal<Side::White>(ru) : generate_legal<Side::Black>(ru);
    i8 droga[PATH_BYTES] = {};
    char move[4] = {};
    int score = 0;
    std::FILE* out = std::tmpfile();
    std::FILE* saved = thinking_stream;
    thinking_stream = out;
    L = 0;
    const int p = white ? deepen_white(ru, a, n, droga, move, &score)
                        : deepen_black(ru, a, n, droga, move, &score);
    thinking_stream = saved;
    std::string lines;
    std::rewind(out);
    for (int c; (c = std::fgetc(out)) != EOF;) lines.push_back(static_cast<char>(c));
    std::fclose(out);
    // The chosen move's text from the list (the last thinking line's move).
    char text[4];
    if (white) move_text<Side::White>(ru[p], text); else move_text<Side::Black>(ru[p], text);
    EXPECT_EQ(std::string(text, 4), std::string(move, 4));
    return {std::string(move, 4), score, p, L, lines};
}

std::string twin_text(const std::string& m) {
    std::string t = m;
    for (int i : {0, 2}) {
        t[i] = static_cast<char>('a' + 'h' - m[i]);
        t[i + 1] = static_cast<char>('1' + '8' - m[i + 1]);
    }
    return t;
}

TEST(Root, MateInOneWithItsScore) {
    const char* rows =
        "......k."
        ".....ppp"
        "........"
        "........"
        "........"
        "........"
        ".....PPP"
        "W.....K.";
    for (bool white : {true, false}) {
        set_up(white ? rows : rotated(rows));
        const RootResult r = root(white, 5);
        EXPECT_EQ(r.move, white ? "a1a8" : "h8h1");
        EXPECT_EQ(r.score, white ? 9999 + 5 : -(9999 + 5));
        // Scores are shown from the engine's side; "+#": check, and the
        // king would be taken next.
        const std::string last = r.thinking.substr(r.thinking.rfind('\n', r.thinking.size() - 2) + 1);
        EXPECT_EQ(last.rfind(white ? "5 10004 1 1 Wa1a8+" : "5 10004 1 1 Wh8h1+", 0), 0u) << last;
        EXPECT_NE(last.find('#'), std::string::npos) << last;
    }
}

TEST(Root, MirroredTwinFindsTheMirroredMoveAndScore) {
    // With the evaluation cut down to material the twin's scores are exact
    // negatives, and the move played must be the mirrored one.
    const char* positions[] = {
        // The queen on d5 hangs to e4xd5.
        "......k."
        "p......."
        "........"
        "...h...."
        "....P..."
        "........"
        "P......."
        "......K.",
        // Nxc7+ forks king and rook.
        "w...k..."
        "ppp..ppp"
        "........"
        ".S......"
        "........"
        "........"
        "PPP..PPP"
        "....K...",
    };
    for (const char* rows : positions) {
        for (int n : {5, 6}) {
            set_up(rows);
            material_only();
            const RootResult w = root(true, n);
            set_up(rotated(rows));
            material_only();
            const RootResult b = root(false, n);
            EXPECT_EQ(b.move, twin_text(w.move)) << n;
            EXPECT_EQ(b.score, -w.score) << n;
            EXPECT_GT(w.score, 0) << n;
        }
    }
}

TEST(Root, SameSearchTwiceSameSignature) {
    RootResult first[2];
    for (RootResult& r : first) {
        set_up(START);
        r = root(true, 6);
    }
    EXPECT_EQ(first[0].counted, first[1].counted);
    EXPECT_EQ(first[0].move, first[1].move);
    EXPECT_EQ(first[0].score, first[1].score);
    EXPECT_EQ(first[0].thinking, first[1].thinking);
    EXPECT_GT(first[0].counted, 1000u);
}

TEST(Root, OnlyWhiteClearsTheCounterWhenItStarts) {
    for (bool white : {true, false}) {
        set_up(white ? QUEEN_UP : rotated(QUEEN_UP));
        Move ru[MAX_MOVES];
        const int a = white ? generate_legal<Side::White>(ru) : generate_legal<Side::Black>(ru);
        i8 droga[PATH_BYTES] = {};
        char move[4];
        int score;
        Quiet quiet;
        L = 100000000;
        if (white) deepen_white(ru, a, 5, droga, move, &score);
        else deepen_black(ru, a, 5, droga, move, &score);
        if (white) EXPECT_LT(L, 100000000u);
        else EXPECT_GT(L, 100000000u);
    }
}

}  // namespace
}  // namespace morvelak::searchtest

namespace morvelak::searchtest {
namespace {

TEST(Root, MoreThanOneHundredTwentyLegalMoves) {
    // 218 legal moves: every root list, reply table and ordering value must
    // hold them all.
    set_up("W......W"
           "...H...."
           ".H....H."
           "....H..."
           "..H....H"
           "H....H.."
           "pp.H...."
           "kGSS.KG.");
    Move ru[MAX_MOVES];
    const int a = generate_legal<Side::White>(ru);
    ASSERT_EQ(a, 218);
    i8 droga[PATH_BYTES] = {};
    char move[4];
    int score = 0;
    Quiet quiet;
    const int p = deepen_white(ru, a, 3, droga, move, &score);
    EXPECT_GE(p, 0);
    EXPECT_LT(p, a);
    EXPECT_GE(score, 10000) << "mate in one is there";
}

// The search's signature with the evaluation cut down to material, so that
// tuning the evaluation does not move it: any change of what the search
// visits shows here.
TEST(Root, SignatureWithMaterialOnlyEvaluation) {
    const struct {
        const char* rows;
        const char* wyj;
        bool white;
        int n;
        u32 nodes;
        const char* move;
    } cases[] = {
        {"w.gh.wk."
         "..p.gppp"
         "p.sp.s.."
         ".p..p..."
         "....P..."
         ".GPP.S.."
         "PP...PPP"
         "WSGHW.K.",
         "0 0 0 0", true, 6, 33023, "b3c2"},
        {"w.g.k..w"
         "ppp..ppp"
         "..sp.s.."
         "..g.p..."
         "..G.P..."
         "..SP.S.."
         "PPP..PPP"
         "W.GH.WK.",
         "0 3 0 0", false, 6, 84481, "e8g8"},
    };
    for (const auto& c : cases) {
        set_up(c.rows, c.wyj, c.white ? 0 : 1);
        material_only();
        const RootResult r = root(c.white, c.n);
        EXPECT_EQ(r.counted, c.nodes);
        EXPECT_EQ(r.move, c.move);
    }
}

}  // namespace
}  // namespace morvelak::searchtest

namespace morvelak::searchtest {
namespace {

TEST(Root, DeepIterationsSortByInternalSearches) {
    // Target depth 9: nodes of depth 7 and more order their moves by an
    // internal search, and one level below the root of the iterations of
    // depth 8 and 9 the moves left after the killers are sorted once more.
    // The search must stay deterministic and leave its flag cleared.
    const char* rows =
        "w.gh.wk."
        "..p.gppp"
        "p.sp.s.."
        ".p..p..."
        "....P..."
        ".GPP.S.."
        "PP...PPP"
        "WSGHW.K.";
    RootResult r[2];
    for (RootResult& x : r) {
        set_up(rows);
        material_only();
        x = root(true, 9);
        EXPECT_EQ(I, 0);
    }
    EXPECT_EQ(r[0].counted, r[1].counted);
    EXPECT_EQ(r[0].move, r[1].move);
    EXPECT_NE(r[0].thinking.find("\n9 "), std::string::npos);
}

}  // namespace
}  // namespace morvelak::searchtest
