// The full-move history of the older builds: which entry each move fills,
// what "remove" restores for each side the engine plays, the repetition
// count over both boards of every full move, and the 150-move bound.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "driver/older/history.hpp"

namespace morvelak::test {

using namespace morvelak::older;
namespace {

// A recognisable position number n: the board gets its border ring and n
// written into two squares, WYJ gets n too.  The history never looks at what
// the board means, so these stand-ins are enough to tell entries apart.
void position(int n) {
    for (i8& b : POS.PL) b = BORDER;
    for (int s = 11; s <= 88; ++s)
        if (on_board(s)) POS.PL[s] = EMPTY;
    POS.PL[15] = W_KING;
    POS.PL[85] = B_KING;
    POS.PL[44] = static_cast<i8>(n & 0x3f);
    POS.PL[45] = static_cast<i8>(n >> 6);
    POS.WYJ[0] = static_cast<i8>(n & 3);
    POS.WYJ[1] = static_cast<i8>((n >> 2) & 3);
    POS.WYJ[2] = static_cast<i8>(n & 0x7f);
    POS.WYJ[3] = static_cast<i8>(n >> 7);
}

// Whether board and WYJ `pl`/`wyj` are those of position n.
bool same_as(const i8* pl, const i8* wyj, int n) {
    i8 keepPl[100], keepWyj[4];
    std::memcpy(keepPl, POS.PL, 100);
    std::memcpy(keepWyj, POS.WYJ, 4);
    position(n);
    const bool same = std::memcmp(pl, POS.PL, 100) == 0 && std::memcmp(wyj, POS.WYJ, 4) == 0;
    std::memcpy(POS.PL, keepPl, 100);
    std::memcpy(POS.WYJ, keepWyj, 4);
    return same;
}
bool is_position(int n) { return same_as(POS.PL, POS.WYJ, n); }
bool entry_is(int k, int half, int n) { return same_as(GAME.perMove.PLZAP[k][half], GAME.perMove.WYJZAP[k][half], n); }

// Plays `plies` half-moves from a fresh game, position p after ply p, with
// the history kept as the protocol loop keeps it.  White moves first.
void play(int plies) {
    position(0);
    start_history();
    for (int p = 1; p <= plies; ++p) {
        position(p);
        store_after_move(p % 2 == 1 ? Side::White : Side::Black);
    }
}

TEST(OldHistory, EachMoveFillsItsEntry) {
    // The same six plies, whichever side the engine plays: White's ply p
    // (odd) fills (R, WHITE_MOVED), Black's ply completes a full move.
    play(0);
    EXPECT_EQ(GAME.R, 0);
    EXPECT_TRUE(entry_is(0, BEFORE_WHITE, 0));

    struct Step { int ply; int r; int k; int half; };
    const Step steps[] = {
        {1, 0, 0, WHITE_MOVED}, {2, 1, 1, BEFORE_WHITE}, {3, 1, 1, WHITE_MOVED},
        {4, 2, 2, BEFORE_WHITE}, {5, 2, 2, WHITE_MOVED}, {6, 3, 3, BEFORE_WHITE},
    };
    for (const Step& s : steps) {
        position(s.ply);
        EXPECT_TRUE(store_after_move(s.ply % 2 ? Side::White : Side::Black));
        EXPECT_EQ(GAME.R, s.r) << "ply " << s.ply;
        EXPECT_TRUE(entry_is(s.k, s.half, s.ply)) << "ply " << s.ply;
    }
    // Earlier entries are untouched.
    EXPECT_TRUE(entry_is(0, BEFORE_WHITE, 0));
    EXPECT_TRUE(entry_is(1, WHITE_MOVED, 3));
}

TEST(OldHistory, RemoveRestoresTheOpponentsTurn) {
    // Engine plays Black: it has just moved (even ply), White is to move.
    play(4);  // R = 2
    ASSERT_EQ(GAME.R, 2);
    EXPECT_TRUE(take_back_full_move(Side::Black));
    EXPECT_EQ(GAME.R, 1);
    EXPECT_TRUE(is_position(2));  // before White's second move
    EXPECT_TRUE(take_back_full_move(Side::Black));
    EXPECT_EQ(GAME.R, 0);
    EXPECT_TRUE(is_position(0));
    // No full move left: nothing happens.
    position(77);
    EXPECT_FALSE(take_back_full_move(Side::Black));
    EXPECT_EQ(GAME.R, 0);
    EXPECT_TRUE(is_position(77));

    // Engine plays White: it has just moved (odd ply), Black is to move.
    play(5);  // R = 2, (2, WHITE_MOVED) = 5
    ASSERT_EQ(GAME.R, 2);
    EXPECT_TRUE(take_back_full_move(Side::White));
    EXPECT_EQ(GAME.R, 1);
    EXPECT_TRUE(is_position(3));  // after White's second move
    EXPECT_TRUE(take_back_full_move(Side::White));
    EXPECT_EQ(GAME.R, 0);
    EXPECT_TRUE(is_position(1));
    // After the engine's first move as White alone there is no full move.
    play(1);
    EXPECT_FALSE(take_back_full_move(Side::White));
    EXPECT_EQ(GAME.R, 0);
    EXPECT_TRUE(is_position(1));
}

TEST(OldHistory, RepetitionCountsBothBoardsOfCompletedMoves) {
    play(5);  // R = 2; entries (0,0)=0 (0,1)=1 (1,0)=2 (1,1)=3 (2,0)=4 (2,1)=5
    struct Case { int board; int count; };
    const Case cases[] = {
        {0, 1}, {1, 1}, {2, 1}, {3, 1},
        {4, 0},  // (2, BEFORE_WHITE): full move 2 is not among k < R
        {5, 0},
        {99, 0},
    };
    for (const Case& c : cases) {
        position(c.board);
        EXPECT_EQ(czypotrojne(), c.count) << "board " << c.board;
    }

    // Two stored boards equal to the current one: both count.
    play(0);
    const int seq[] = {1, 0, 1, 0};  // White and Black shuffle back and forth
    for (int p = 0; p < 4; ++p) {
        position(seq[p]);
        store_after_move(p % 2 == 0 ? Side::White : Side::Black);
    }
    ASSERT_EQ(GAME.R, 2);
    position(0);
    EXPECT_EQ(czypotrojne(), 2);  // (0,0) and (1,0); (2,0) is not counted
    position(1);
    EXPECT_EQ(czypotrojne(), 2);  // (0,1) and (1,1)

    // Only the board counts, not WYJ.
    position(1);
    POS.WYJ[0] = 3;
    POS.WYJ[3] = 66;
    EXPECT_EQ(czypotrojne(), 2);
}

TEST(OldHistory, RepetitionIgnoresEntriesBeyondR) {
    // After a take-back the later entries are still in the table but no
    // longer part of the game.
    play(6);  // R = 3
    take_back_full_move(Side::Black);
    take_back_full_move(Side::Black);  // R = 1
    position(3);
    EXPECT_EQ(czypotrojne(), 0);
    position(1);
    EXPECT_EQ(czypotrojne(), 1);

    // A new game clears the old one: a board the old game stored at
    // (0, WHITE_MOVED) is not part of a game whose first move was Black's.
    play(1);  // (0, WHITE_MOVED) = 1
    position(0);
    start_history();
    position(50);
    store_after_move(Side::Black);  // R = 1 without a White move
    position(1);
    EXPECT_EQ(czypotrojne(), 0);
}

TEST(OldHistory, LongGameStopsStoringAtOneHundredFifty) {
    // 160 full moves: every ply from full move 150 on finds no entry.
    position(0);
    start_history();
    int p = 0;
    std::vector<bool> stored;
    for (int move = 0; move < 160; ++move) {
        position(++p);
        stored.push_back(store_after_move(Side::White));
        position(++p);
        stored.push_back(store_after_move(Side::Black));
    }
    EXPECT_EQ(GAME.R, 160);
    for (int i = 0; i < 320; ++i) {
        // White's ply of full move m fills (m, 1); Black's fills (m + 1, 0).
        const int k = i % 2 == 0 ? i / 2 : i / 2 + 1;
        EXPECT_EQ(stored[i], k < HISTORY_MOVES) << "ply " << i + 1;
    }
    EXPECT_TRUE(entry_is(HISTORY_MOVES - 1, WHITE_MOVED, 2 * (HISTORY_MOVES - 1) + 1));

    // The count reads only the 150 stored full moves.
    position(2 * 149 + 1);  // (149, WHITE_MOVED)
    EXPECT_EQ(czypotrojne(), 1);
    position(2 * 155);      // would have been (155, BEFORE_WHITE)
    EXPECT_EQ(czypotrojne(), 0);

    // Taking back beyond the stored range moves R but leaves the position.
    position(999);
    for (int r = 159; r >= 150; --r) {
        EXPECT_FALSE(take_back_full_move(Side::Black));
        EXPECT_EQ(GAME.R, r);
        EXPECT_TRUE(is_position(999));
    }
    EXPECT_TRUE(take_back_full_move(Side::Black));
    EXPECT_EQ(GAME.R, 149);
    EXPECT_TRUE(is_position(2 * 149));
    EXPECT_TRUE(take_back_full_move(Side::White));
    EXPECT_EQ(GAME.R, 148);
    EXPECT_TRUE(is_position(2 * 148 + 1));
}

}  // namespace
}  // namespace morvelak::test
