// The root of m26: the expected replies ordering the root
// list, the depth a game starts with and the time limits, the repetition
// rule of the root moves, and the record line of the computer move.
#include <gtest/gtest.h>

#include <algorithm>

#include "driver/m26/protocol26.hpp"
#include "tests/m26/support.hpp"

namespace morvelak::test {
namespace {

using m26::SquareMove;

SquareMove sm(const char* from, int x2) { return SquareMove{static_cast<i8>(sq(from)), static_cast<i8>(x2)}; }
SquareMove sm(const char* from, const char* to) { return sm(from, sq(to)); }

std::vector<std::string> sorted(std::vector<std::string> v) {
    std::sort(v.begin(), v.end());
    return v;
}

// Hand-made expectations after 1. e4 e5 2. Nf3 Nc6 3. Be2: the opponent's
// actual reply picks a row, whose moves that are legal here lead, in the
// row's order; everything else keeps its place relative to nothing (the
// moves are swapped forward), but no move is lost.
TEST(ExpectedReplies, TheRowOfTheActualReplyLeadsTheRootList) {
    set_up("r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPPBPPP/RNBQK2R b KQkq - 3 3", 25);
    // Black to move: the engine plays Black, its expectations are of White's
    // replies.
    m26::ReplyTables& t = m26::tables<Side::Black>();
    t.tablica1[0] = sm("d2", "d4");
    t.tablica1[1] = sm("e1", "g1");
    t.tablica2[0][0] = sm("e5", "d4");
    t.tablica2[1][0] = sm("f8", "c5");
    t.tablica2[1][1] = sm("a8", "a1");  // no longer a move: skipped
    t.tablica2[1][2] = sm("g8", "f6");
    t.tablica2[1][3] = sm("h8", CASTLE_SHORT);  // not possible here: skipped
    t.tablica2[1][4] = sm("d7", "d6");

    Move ru[MAX_MOVES];
    const int a = m26::generate_root_moves<Side::Black>(ru);
    const std::vector<std::string> all = texts<Side::Black>(ru, a);

    struct Case {
        SquareMove last;
        int placed;
        std::vector<std::string> front;
    };
    for (const Case& c : {Case{sm("e1", "g1"), 3, {"f8c5", "g8f6", "d7d6"}},
                          Case{sm("d2", "d4"), 0, {}},            // its row is a capture not on the board
                          Case{sm("d2", "d3"), 0, {}},            // not expected
                          Case{SquareMove{0, 0}, 0, {}}}) {       // nothing played yet
        Move r[MAX_MOVES];
        std::copy(ru, ru + a, r);
        const int g = m26::order_from_replies<Side::Black>(r, a, c.last);
        EXPECT_EQ(g, c.placed);
        const std::vector<std::string> now = texts<Side::Black>(r, a);
        EXPECT_EQ(std::vector<std::string>(now.begin(), now.begin() + g), c.front);
        EXPECT_EQ(sorted(now), sorted(all));
        if (g == 0) {
            EXPECT_EQ(now, all);
        }
    }
}

// White's castling is kept as the rook's square and its code, the form in
// which the move input reports the opponent's castling too.
TEST(ExpectedReplies, CastlingIsFoundByTheRooksSquare) {
    set_up("r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPPBPPP/RNBQK2R w KQkq - 2 3", 25);
    m26::ReplyTables& t = m26::tables<Side::White>();
    t.tablica1[0] = sm("g8", "f6");
    t.tablica2[0][0] = sm("h1", CASTLE_SHORT);
    t.tablica2[0][1] = sm("d2", "d3");
    Move ru[MAX_MOVES];
    const int a = m26::generate_root_moves<Side::White>(ru);
    EXPECT_EQ(m26::order_from_replies<Side::White>(ru, a, sm("g8", "f6")), 2);
    EXPECT_EQ(texts<Side::White>(ru, 2), (std::vector<std::string>{"e1g1", "d2d3"}));
}

// Only as many expected replies are looked at as there are root moves.
TEST(ExpectedReplies, OnlyTheFirstAsManyRepliesAsRootMovesAreScanned) {
    set_up("4k3/8/8/8/8/8/4P3/4K3 w - - 0 1", 25);
    Move ru[MAX_MOVES];
    const int a = m26::generate_root_moves<Side::White>(ru);  // Kd1 Kd2 Kf1 Kf2 e3 e4
    ASSERT_EQ(a, 6);
    m26::ReplyTables& t = m26::tables<Side::White>();
    for (int at : {a - 1, a}) {
        t.clear();
        t.tablica1[at] = sm("e8", "d7");
        t.tablica2[at][0] = sm("e2", "e4");
        EXPECT_EQ(m26::order_from_replies<Side::White>(ru, a, sm("e8", "d7")), at < a ? 1 : 0) << at;
    }
}

// The whole way: a search keeps its expectations; the opponent plays the
// reply it expected most; after the driver's rebuild (new list indices) the
// engine's moves expected after that reply lead the new root list.
TEST(ExpectedReplies, TheRepliesOfARealSearchOrderTheNextRoot) {
    set_up("r1bq1rk1/2p1bppp/p1np1n2/1p2p3/4P3/1BPP1N2/PP3PPP/RNBQR1K1 w - - 0 9", 0);
    GAME.TB = 50;
    std::string move;
    bool moved = false;
    computer_move<Side::White>(move, moved);
    ASSERT_TRUE(moved);
    older::store_after_move(Side::White);
    const m26::ReplyTables& t = m26::tables<Side::White>();
    const SquareMove reply = t.tablica1[0];
    ASSERT_NE(reply.from, 0);

    // The opponent's move, as the move input makes it.
    skroctablice(m26::SCALE);
    Move bl[MAX_MOVES];
    const int nb = generate_legal<Side::Black>(bl);
    const Move* m = std::find_if(bl, bl + nb, [&](Move x) {
        return origin_of<Side::Black>(x) == reply.from && x.x2 == reply.x2;
    });
    ASSERT_NE(m, bl + nb);
    i8 zap[8];
    zrobruch<Side::Black>(zap, m->nr, m->x2);
    older::store_after_move(Side::Black);
    older::wstawstan(GAME.R);
    skroctablice(m26::SCALE);

    Move ru[MAX_MOVES];
    const int a = m26::generate_root_moves<Side::White>(ru);
    std::vector<std::string> expected;
    for (const SquareMove& e : t.tablica2[0]) {
        for (int j = 0; j < a; ++j)
            if (e.from != 0 && origin_of<Side::White>(ru[j]) == e.from && ru[j].x2 == e.x2)
                expected.push_back(text<Side::White>(ru[j]));
    }
    ASSERT_GT(expected.size(), 1u);
    const int g = m26::order_from_replies<Side::White>(ru, a, reply);
    EXPECT_EQ(texts<Side::White>(ru, g), expected);
}

// A game starts at 7 plies, 8 when the engine's clock is above 1200 tenths
// of a second (2 minutes), 9 above 6000 (10 minutes).  The record line shows
// the depth searched.
TEST(Depth, AGameStartsAtADepthSetByTheClockInTenths) {
    for (auto [clock, depth] : {std::pair<u32, int>{0, 7}, {1200, 7}, {1201, 8}, {6000, 8}, {6001, 9}})
        EXPECT_EQ(m26::start_depth(clock), depth) << clock;

    for (auto [clock, depth] : {std::pair<u32, int>{1200, 7}, {1201, 8}, {6001, 9}}) {
        set_up("4k3/3ppp2/8/8/8/8/3PPP2/4K3 b - - 0 1", 0);
        GAME.TC = clock;
        std::string move;
        bool moved = false;
        const std::string rec = computer_move<Side::Black>(move, moved);
        ASSERT_TRUE(moved);
        EXPECT_EQ(rec.substr(0, 2), std::to_string(depth) + " ") << rec;
    }
}

// The limits are fixed from the clock before the search: a tenth of it (an
// eighth after 30 full moves) plus one, and seven times that; they are met
// by the time in centiseconds.  Deeper within t1, shallower beyond t2, never
// below 5 nor beyond the tables.
TEST(Depth, TheTimeLimitsComeFromTheClockAlone) {
    EXPECT_EQ(m26::time_limits(1000, 30).t1, 101);
    EXPECT_EQ(m26::time_limits(1000, 30).t2, 707);
    EXPECT_EQ(m26::time_limits(1000, 31).t1, 126);
    EXPECT_EQ(m26::time_limits(1000, 31).t2, 882);
    EXPECT_EQ(m26::time_limits(0, 0).t1, 1);
    const m26::TimeLimits lim{101, 707};
    EXPECT_EQ(m26::adapt_depth(8, 101, lim), 9);
    EXPECT_EQ(m26::adapt_depth(8, 102, lim), 8);
    EXPECT_EQ(m26::adapt_depth(8, 707, lim), 8);
    EXPECT_EQ(m26::adapt_depth(8, 708, lim), 7);
    EXPECT_EQ(m26::adapt_depth(5, 5000, lim), 5);
    EXPECT_EQ(m26::adapt_depth(older::MAX_DEPTH, 0, lim), older::MAX_DEPTH);
}

// A root move back to a board that already stood twice in the game scores 20
// against the engine and is not searched; once is not enough.  The game
// shuffles a rook there and back `times` times.
template <Side S>
void repetition_case(const char* fen, const char* back, int times, bool twice) {
    set_up(fen, 0);
    const Move m = legal_move<S>(back);
    older::start_history();
    for (int k = 0; k < times; ++k) {
        i8 zap[8];
        zrobruch<S>(zap, m.nr, m.x2);
        if (S == Side::White) {
            older::store_after_move(Side::White);  // (k, after White's move): the board after `back`
            skasujruch<S>(zap, m.nr, m.x2);
            older::store_after_move(Side::Black);  // (k + 1, before White's move): the start
        } else {
            older::store_after_move(Side::White);
            older::store_after_move(Side::Black);
            skasujruch<S>(zap, m.nr, m.x2);
        }
    }
    Move ru[MAX_MOVES];
    int a = 0;
    search<S>(ru, a, 5);
    const m26::wezel& root = m26::korzen<S>();
    const int b = static_cast<int>(std::find_if(ru, ru + a, [&](Move x) { return text<S>(x) == back; }) - ru);
    ASSERT_LT(b, a);
    if (twice) {
        EXPECT_EQ(root.wart[b], -Own<S>::sign * 20);
        EXPECT_EQ(root.nast[b]->ile1, 0);  // not searched
    } else {
        EXPECT_GT(Own<S>::sign * root.wart[b], 300);  // searched: a rook up
    }
    m26::korzen<S>().zwolnij();
}

TEST(Root, AMoveBackToABoardStoredTwiceScoresTwentyAgainstTheEngine) {
    repetition_case<Side::White>("4k3/7p/8/8/8/8/8/R3K3 w - - 0 1", "a1a2", 2, true);
    repetition_case<Side::White>("4k3/7p/8/8/8/8/8/R3K3 w - - 0 1", "a1a2", 1, false);
    repetition_case<Side::Black>("r3k3/8/8/8/8/8/7P/4K3 b - - 0 1", "a8a7", 2, true);
}

// The record line: depth searched, move, the chosen move's value from
// White's side for either colour, seconds and tenths; no node count.  White's
// part opens the line, Black's closes it.  The book and a forced move write
// depth 0 and value 0.
TEST(Root, TheRecordLine) {
    set_up("4k3/8/8/3q4/8/8/8/3QK3 w - - 0 1", 0);
    GAME.TB = 50;
    std::string move;
    bool moved = false;
    std::string rec = computer_move<Side::White>(move, moved);
    EXPECT_EQ(move, "d1d5");
    int depth = 0, score = 0;
    unsigned secs = 0, tenths = 0;
    char text[5] = {};
    ASSERT_EQ(std::sscanf(rec.c_str(), "%d %4s %d %u.%u", &depth, text, &score, &secs, &tenths), 5) << rec;
    EXPECT_GT(score, 700);
    EXPECT_EQ(rec.back(), static_cast<char>('0' + tenths));  // nothing after the time

    set_up("3qk3/8/8/3Q4/8/8/8/4K3 b - - 0 1", 0);
    GAME.TC = 50;
    rec = computer_move<Side::Black>(move, moved);
    EXPECT_EQ(move, "d8d5");
    ASSERT_EQ(std::sscanf(rec.c_str(), "%d %4s %d %u.%u", &depth, text, &score, &secs, &tenths), 5) << rec;
    EXPECT_LT(score, -700);  // White's side
    EXPECT_EQ(rec.back(), '\n');

    set_up("1r5k/8/8/8/7p/p7/P6P/K7 w - - 0 1", 0);
    rec = computer_move<Side::White>(move, moved);
    EXPECT_EQ(move, "h2h3");
    EXPECT_EQ(rec.substr(0, 9), "0 h2h3 0 ") << rec;
}

}  // namespace
}  // namespace morvelak::test

namespace morvelak::test {
namespace {

// What the build hands the shared loop: one feature, the clock in tenths, no
// take-back, and the opponent's move noted by squares for the look-up among
// the expected replies (castling as the rook's square and its code).
using m26::SquareMove;

TEST(Policy, TheLoopNotesTheOpponentsMoveAndKeepsTenths) {
    const BuildPolicy& p = m26::policy();
    EXPECT_STREQ(p.features[0], "feature usermove=1\n");
    EXPECT_EQ(p.features[1], nullptr);
    EXPECT_EQ(p.time_divisor, 10u);
    EXPECT_EQ(p.history_remove, nullptr);
    EXPECT_EQ(p.push_key, nullptr);
    fresh_search_state();
    p.note_opponent_move(Side::White, sq("e2"), sq("e4"));
    p.note_opponent_move(Side::Black, sq("h8"), CASTLE_SHORT);
    EXPECT_EQ(m26::SEARCH.OSTRUCHB, (SquareMove{static_cast<i8>(sq("e2")), static_cast<i8>(sq("e4"))}));
    EXPECT_EQ(m26::SEARCH.OSTRUCHC, (SquareMove{static_cast<i8>(sq("h8")), CASTLE_SHORT}));
    EXPECT_EQ(m26::opponent_move<Side::Black>(), m26::SEARCH.OSTRUCHB);
    EXPECT_EQ(m26::opponent_move<Side::White>(), m26::SEARCH.OSTRUCHC);
}

}  // namespace
}  // namespace morvelak::test
