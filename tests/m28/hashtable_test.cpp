// The position table of m28: the record sort, how the
// search fills records (cut-off, last slot, move bound) and how the root
// uses the record of its position to order its moves.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/position/rebuild.hpp"
#include "engine/position/fen.hpp"
#include "engine/search/m28/hashtable.hpp"
#include "engine/search/m28/state.hpp"

namespace morvelak::test {

using namespace morvelak::m28;
namespace {

void set_fen(const std::string& fen) {
    FenPosition p;
    std::string error;
    ASSERT_TRUE(parse_fen(fen, p, error)) << error;
    std::memcpy(POS.PL, p.pl, 100);
    std::memcpy(POS.WYJ, p.wyj, 4);
    rebuild_lists();
}

constexpr const char* START = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
constexpr const char* AFTER_E4 = "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1";

void clear_table() {
    std::memset(SEARCH.HASH, 0, sizeof SEARCH.HASH);
    SEARCH.HASHL = 0;
    SEARCH.HASHB = 0;
}

struct Stored { int from, x2, value; };

// What the search does at a recording node: begin, store each searched move,
// close with the number searched.
void fill(const std::vector<Stored>& moves, int searched) {
    hash_begin();
    for (int b = 0; b < static_cast<int>(moves.size()); ++b)
        hash_store(b, moves[b].from, moves[b].x2, moves[b].value);
    hash_close(searched);
}

// The record's moves as text "from-x2" in their order.
std::vector<std::string> moves_of(const record& h) {
    std::vector<std::string> out;
    for (int i = 0; i < h.ile; ++i) out.push_back(std::to_string(h.ru[i][0]) + "-" + std::to_string(h.ru[i][1]));
    return out;
}

template <Side S>
std::string text(Move m) {
    char t[5] = {};
    move_text<S>(m, t);
    return t;
}

TEST(Record, PosortujBothDirectionsStable) {
    // Moves are labelled by their origin: 1..6 in stored order.
    struct Case { char kto; std::vector<int> values; std::vector<int> order; };
    const Case cases[] = {
        {'b', {5, 9, 9, -3, 7, 9}, {2, 3, 6, 5, 1, 4}},
        {'c', {5, 9, 9, -3, 7, 9}, {4, 1, 5, 2, 3, 6}},
        {'x', {5, 9, 9, -3, 7, 9}, {4, 1, 5, 2, 3, 6}},  // any letter but 'b' is Black's order
        {'b', {0, 0, 0}, {1, 2, 3}},
        {'c', {-12000, 12000, 0, 12000, -12000}, {1, 5, 3, 2, 4}},
        {'b', {1}, {1}},
        {'b', {}, {}},
    };
    for (const Case& c : cases) {
        record h{};
        h.ile = static_cast<int>(c.values.size());
        for (int i = 0; i < h.ile; ++i) {
            h.ru[i][0] = static_cast<i8>(i + 1);
            h.ru[i][1] = static_cast<i8>(10 * (i + 1));
            h.wart[i] = c.values[i];
        }
        // A value behind the count must stay where it is.
        h.ru[h.ile][0] = 99;
        h.wart[h.ile] = c.kto == 'b' ? 100000 : -100000;
        h.posortuj(c.kto);
        for (int i = 0; i < h.ile; ++i) {
            EXPECT_EQ(h.ru[i][0], c.order[i]) << c.kto << " place " << i;
            EXPECT_EQ(h.ru[i][1], 10 * c.order[i]) << "pair kept together";
            EXPECT_EQ(h.wart[i], c.values[c.order[i] - 1]) << "value kept with its move";
        }
        EXPECT_EQ(h.ru[h.ile][0], 99);
    }
}

TEST(HashFill, CutOffStoresOnlyTheMovesSearched) {
    clear_table();
    set_fen(START);
    // A first fill of record 0 with four moves (a previous computer move).
    fill({{25, 45, 30}, {24, 44, 40}, {17, 36, 20}, {12, 33, 10}}, 4);
    EXPECT_EQ(SEARCH.HASHL, 1);
    // The next search starts the table again; the node cuts off at its
    // second move (b = 1): two moves are kept, the stale two are not.
    SEARCH.HASHL = 0;
    fill({{27, 37, 5}, {22, 32, 50}}, 2);
    EXPECT_EQ(SEARCH.HASHL, 1);
    EXPECT_EQ(SEARCH.HASH[0].ile, 2);
    EXPECT_EQ(moves_of(SEARCH.HASH[0]), (std::vector<std::string>{"27-37", "22-32"}));

    Move ru[MAX_MOVES];
    const int a = generate_legal<Side::White>(ru);
    ASSERT_EQ(a, 20);
    EXPECT_EQ(hash_order_root<Side::White>(ru, a), 2);
    EXPECT_EQ(text<Side::White>(ru[0]), "b2b3");  // 50 first for White
    EXPECT_EQ(text<Side::White>(ru[1]), "g2g3");
}

TEST(HashFill, LastSlotIsOverwrittenOnceFull) {
    clear_table();
    set_fen(START);
    // 305 distinct boards (the squares e4/d4 carry a number; the table does
    // not care whether the board makes sense).
    for (int n = 0; n < 305; ++n) {
        POS.PL[44] = static_cast<i8>(n % 100);
        POS.PL[45] = static_cast<i8>(n / 100);
        fill({{25, 45, n}}, 1);
        EXPECT_LE(SEARCH.HASHL, HASH_LAST);
    }
    EXPECT_EQ(SEARCH.HASHL, HASH_LAST);
    EXPECT_EQ(SEARCH.HASH[HASH_LAST].plansza[44], 304 % 100);
    EXPECT_EQ(SEARCH.HASH[HASH_LAST].plansza[45], 304 / 100);
    EXPECT_EQ(SEARCH.HASH[HASH_LAST].wart[0], 304);
    EXPECT_EQ(SEARCH.HASH[HASH_LAST - 1].wart[0], 298);
    // The complete records are found, each for its own board.
    for (int n : {0, 150, 298}) {
        POS.PL[44] = static_cast<i8>(n % 100);
        POS.PL[45] = static_cast<i8>(n / 100);
        const record* h = hash_find();
        ASSERT_NE(h, nullptr) << n;
        EXPECT_EQ(h->wart[0], n);
    }
}

TEST(HashFill, MovesBeyondTheRecordAreNotStored) {
    clear_table();
    set_fen(START);
    hash_begin();
    for (int b = 0; b < RECORD_MOVES; ++b) EXPECT_TRUE(hash_store(b, 25, 35, b));
    // Slot 120 would land on wart[0], value 120 on ile.
    EXPECT_FALSE(hash_store(RECORD_MOVES, 77, 77, 777));
    EXPECT_FALSE(hash_store(RECORD_MOVES + 5, 77, 77, 777));
    EXPECT_EQ(SEARCH.HASH[0].wart[0], 0);
    EXPECT_EQ(SEARCH.HASH[0].ile, 0);
    hash_close(RECORD_MOVES + 10);
    EXPECT_EQ(SEARCH.HASH[0].ile, RECORD_MOVES);
    EXPECT_EQ(SEARCH.HASH[0].wart[RECORD_MOVES - 1], RECORD_MOVES - 1);
}

TEST(HashLookup, StoredMovesLeadInSortedOrderIllegalOnesSkipped) {
    clear_table();
    set_fen(START);
    // Stored for this position: e2e4 30, d2d4 50, short castling (rook h1,
    // not legal here) 100, g1f3 10.
    fill({{25, 45, 30}, {24, 44, 50}, {18, CASTLE_SHORT, 100}, {17, 36, 10}}, 4);

    Move ru[MAX_MOVES];
    const int a = generate_legal<Side::White>(ru);
    // A found move is swapped with the move at the front place, which thus
    // lands where the found one stood.
    int j = 0;
    while (text<Side::White>(ru[j]) != "d2d4") ++j;
    const Move first = ru[0];
    const int g = hash_order_root<Side::White>(ru, a);
    EXPECT_EQ(g, 3);
    EXPECT_EQ(text<Side::White>(ru[0]), "d2d4");
    EXPECT_EQ(text<Side::White>(ru[1]), "e2e4");
    EXPECT_EQ(text<Side::White>(ru[2]), "g1f3");
    EXPECT_EQ(ru[j], first);
    // The record itself is now sorted best-first for White.
    EXPECT_EQ(SEARCH.HASH[0].wart[0], 100);
}

TEST(HashLookup, BlackSmallestFirstAndOnlyTheBoardCompared) {
    clear_table();
    set_fen(AFTER_E4);
    fill({{75, 55, -20}, {73, 53, -40}, {87, 66, 0}}, 3);
    // The same board with no castling rights and no en-passant square.
    POS.WYJ[0] = POS.WYJ[1] = POS.WYJ[2] = POS.WYJ[3] = 0;
    Move ru[MAX_MOVES];
    const int a = generate_legal<Side::Black>(ru);
    ASSERT_EQ(hash_order_root<Side::Black>(ru, a), 3);
    EXPECT_EQ(text<Side::Black>(ru[0]), "c7c5");
    EXPECT_EQ(text<Side::Black>(ru[1]), "e7e5");
    EXPECT_EQ(text<Side::Black>(ru[2]), "g8f6");
}

TEST(HashLookup, CastlingByRookSquareAndFirstMatchOnly) {
    clear_table();
    const char* fen = "r3k2r/pppppppp/8/8/8/8/PPPPPPPP/R3K2R w KQkq - 0 1";
    set_fen(fen);
    fill({{18, CASTLE_SHORT, 40}, {11, CASTLE_LONG, 60}}, 2);
    fill({{12, 13, 90}}, 1);  // the same board again: never looked at
    // A different board stored in between does not matter either.
    Move ru[MAX_MOVES];
    const int a = generate_legal<Side::White>(ru);
    ASSERT_EQ(hash_order_root<Side::White>(ru, a), 2);
    EXPECT_EQ(text<Side::White>(ru[0]), "e1c1");
    EXPECT_EQ(text<Side::White>(ru[1]), "e1g1");
    EXPECT_EQ(ru[0].x2, CASTLE_LONG);

    // A board not in the table places nothing and leaves the list alone.
    set_fen(START);
    const int b = generate_legal<Side::White>(ru);
    std::vector<Move> before(ru, ru + b);
    EXPECT_EQ(hash_order_root<Side::White>(ru, b), 0);
    EXPECT_EQ(std::vector<Move>(ru, ru + b), before);
}

TEST(HashLookup, RecordBeingFilledIsNotFound) {
    clear_table();
    set_fen(START);
    hash_begin();  // begun, never closed: HASHL is still 0
    hash_store(0, 25, 45, 10);
    EXPECT_EQ(hash_find(), nullptr);
}

}  // namespace
}  // namespace morvelak::test
