// A search stopped from outside (the move's time is up, "?", a take-back of
// the search): it unwinds leaving the position as it found it, plays what
// its completed iterations stand behind, and a search that is never stopped
// is exactly the search it always was.
#include <gtest/gtest.h>

#include "engine/position/legal.hpp"
#include "engine/search/control.hpp"
#include "tests/m31/support.hpp"

namespace morvelak::test {
namespace {

const char* const MIDDLEGAME = "r1bqkb1r/pppp1ppp/2n2n2/4p3/2B1P3/5N2/PPPP1PPP/RNBQK2R w KQkq - 4 4";

// Stops the search at its k-th look at the input (one look every
// POLL_INTERVAL full-width nodes), for the reason given.
struct StopAt {
    int k;
    StopReason why;
    int looks = 0;
    static StopReason look(void* ctx) {
        StopAt& s = *static_cast<StopAt*>(ctx);
        return ++s.looks >= s.k ? s.why : StopReason::None;
    }
};

struct Stopped {
    std::string move;
    int depth;
    int score;
    u32 nodes;
    std::string thinking;
};

// Searches the side to move of the position set up to depth n, stopped at the
// k-th look (k = 0: never).
Stopped search(bool white, int n, int k, StopReason why = StopReason::MoveNow) {
    Move ru[MAX_MOVES];
    const int a = white ? generate_legal<Side::White>(ru) : generate_legal<Side::Black>(ru);
    i8 droga[PATH_BYTES] = {};
    char move[4] = {};
    int score = 0, depth = -1;
    StopAt stop{k, why};
    CONTROL = SearchControl{};
    CONTROL.begin();
    if (k > 0) {
        CONTROL.input = StopAt::look;
        CONTROL.inputCtx = &stop;
    }
    Thinking thinking;
    SEARCH.L = 0;
    const int p = white ? deepen<Side::White>(ru, a, n, droga, move, &score, &depth)
                        : deepen<Side::Black>(ru, a, n, droga, move, &score, &depth);
    EXPECT_TRUE(p >= 0 && p < a);
    char text[4];
    if (white) move_text<Side::White>(ru[p], text); else move_text<Side::Black>(ru[p], text);
    const Stopped r{std::string(text, 4), depth, score, SEARCH.L, thinking.text()};
    CONTROL = SearchControl{};
    return r;
}

struct Snapshot {
    i8 pl[100], wyj[4], bp[32], cp[32];
    i8 ilb, ilc;
    explicit Snapshot() {
        std::memcpy(pl, POS.PL, 100);
        std::memcpy(wyj, POS.WYJ, 4);
        std::memcpy(bp, POS.BP, 32);
        std::memcpy(cp, POS.CP, 32);
        ilb = POS.ILB;
        ilc = POS.ILC;
    }
    bool operator==(const Snapshot& o) const {
        return !std::memcmp(pl, o.pl, 100) && !std::memcmp(wyj, o.wyj, 4) && !std::memcmp(bp, o.bp, 32) &&
               !std::memcmp(cp, o.cp, 32) && ilb == o.ilb && ilc == o.ilc;
    }
};

TEST(Stop, AnUnstoppedSearchIsTheSearchItWasAndAListenerChangesNothing) {
    // A listener that never stops only looks; the nodes, lines and move stay.
    set_up(MIDDLEGAME);
    const Stopped plain = search(true, 7, 0);
    set_up(MIDDLEGAME);
    const Stopped listened = search(true, 7, 1 << 30);
    EXPECT_EQ(listened.nodes, plain.nodes);
    EXPECT_EQ(listened.thinking, plain.thinking);
    EXPECT_EQ(listened.move, plain.move);
    EXPECT_EQ(plain.depth, 7);
}

TEST(Stop, UnwindsCleanlyAndPlaysWhatCompletedSearchesStandBehind) {
    // Stops at many points of a depth-8 search, for both colours: the
    // position is untouched, the move is legal, its depth one the search
    // reached, and the thinking lines end with a line for the move played
    // at that depth, unless nothing was complete (depth 0, first root move).
    for (bool white : {true, false}) {
        set_up(MIDDLEGAME, 0, !white);
        const Stopped full = search(white, 8, 0);
        int deepest = 0;
        for (int k : {1, 2, 3, 5, 8, 13, 40, 120, 400, 1500}) {
            set_up(MIDDLEGAME, 0, !white);
            const Snapshot before;
            const Stopped s = search(white, 8, k);
            EXPECT_TRUE(Snapshot() == before) << k;
            EXPECT_LE(s.nodes, full.nodes) << k;
            EXPECT_GE(s.depth, deepest) << "a later stop never stands on less: " << k;
            deepest = s.depth;
            if (s.depth == 0) {
                EXPECT_EQ(s.thinking, "") << k;
                continue;
            }
            // The last line printed at that depth names the move played.
            const std::string& t = s.thinking;
            std::size_t at = t.rfind('\n', t.size() - 2);
            at = at == std::string::npos ? 0 : at + 1;
            const std::string last = t.substr(at);
            int d = 0;
            ASSERT_EQ(std::sscanf(last.c_str(), "%d", &d), 1) << last;
            EXPECT_LE(s.depth, d) << k;
        }
        EXPECT_GE(deepest, 5) << "the late stops stand on deep iterations";
    }
}

TEST(Stop, BeforeAnyRootMoveIsSearchedItPlaysTheFirstRootMove) {
    set_up(MIDDLEGAME);
    Move ru[MAX_MOVES];
    const int a = generate_legal<Side::White>(ru);
    ASSERT_GT(a, 1);
    char first[4];
    move_text<Side::White>(ru[0], first);
    const Stopped s = search(true, 9, 1);
    // The first look comes after POLL_INTERVAL nodes, in depth 2 or later.
    if (s.depth == 0) EXPECT_EQ(s.move, std::string(first, 4));
    else EXPECT_GE(s.depth, 2);
}

TEST(Stop, AWithdrawnSearchIsMarkedSoThatNoMoveIsPlayed) {
    set_up(MIDDLEGAME);
    Move ru[MAX_MOVES];
    const int a = generate_legal<Side::White>(ru);
    i8 droga[PATH_BYTES] = {};
    char move[4];
    int score;
    StopAt stop{3, StopReason::Withdraw};
    CONTROL = SearchControl{};
    CONTROL.begin();
    CONTROL.input = StopAt::look;
    CONTROL.inputCtx = &stop;
    Thinking thinking;
    deepen<Side::White>(ru, a, 9, droga, move, &score);
    EXPECT_TRUE(CONTROL.withdrawn());
    EXPECT_EQ(stop.looks, 3) << "nothing more is asked once stopped";
    CONTROL = SearchControl{};
}

TEST(Stop, ADeadlineInThePastStopsAtTheFirstLook) {
    set_up(MIDDLEGAME);
    CONTROL = SearchControl{};
    CONTROL.begin();
    CONTROL.set_limit_ms(0);
    EXPECT_FALSE(CONTROL.stopped);
    for (int i = 1; i < SearchControl::POLL_INTERVAL; ++i) ASSERT_FALSE(CONTROL.poll()) << i;
    EXPECT_TRUE(CONTROL.poll());
    EXPECT_EQ(CONTROL.reason, StopReason::Deadline);
    CONTROL.stop(StopReason::MoveNow);
    EXPECT_EQ(CONTROL.reason, StopReason::Deadline) << "the first reason stays";
    CONTROL = SearchControl{};
}

TEST(Analysis, EveryDepthHasItsLineWithTimeAndNodes) {
    for (bool white : {true, false}) {
        set_up(MIDDLEGAME, 0, !white);
        CONTROL = SearchControl{};
        CONTROL.begin();
        CONTROL.analysis = true;
        Thinking thinking;
        int depth = 0;
        if (white) analyse_root<Side::White>(6, &depth); else analyse_root<Side::Black>(6, &depth);
        EXPECT_EQ(depth, 6);
        // Depths 2, 3, 4, 5, 6 each begin at least one line: "D S T N line".
        int seen[8] = {};
        const std::string t = thinking.text();
        for (std::size_t a = 0, b; a < t.size(); a = b + 1) {
            b = t.find('\n', a);
            int d, s, cs;
            unsigned long nodes;
            ASSERT_EQ(std::sscanf(t.c_str() + a, "%d %d %d %lu", &d, &s, &cs, &nodes), 4);
            ASSERT_TRUE(d >= 2 && d <= 6) << d;
            ++seen[d];
        }
        for (int d = 2; d <= 6; ++d) EXPECT_GT(seen[d], 0) << d;
        CONTROL = SearchControl{};
    }
}

TEST(Control, TheDepthCapNeverRaisesTheDepth) {
    SearchControl c;
    EXPECT_EQ(c.capped(9), 9);
    c.depthCap = 4;
    EXPECT_EQ(c.capped(9), 4);
    EXPECT_EQ(c.capped(3), 3);
}

}  // namespace
}  // namespace morvelak::test
