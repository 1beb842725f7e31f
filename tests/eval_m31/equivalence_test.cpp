// The engine's OCPION and OCPOZ against the plain rule-by-rule versions in
// reference.hpp, over every position of many random games, each scored under
// several settings: the weights and tables the set-up picks for the game so
// far, random weights with the engine's tables of random phases, and tables
// made up for the test (rewritten now and then, so nothing may be remembered
// about their contents).  The same position is met again and again under
// other settings, and the search's habit of handing OCPOZ the pawn arrays of
// another position is copied as well.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "driver/history.hpp"
#include "engine/eval/listmasks.hpp"
#include "engine/eval/pawnmasks.hpp"
#include "tests/eval_m31/board.hpp"
#include "tests/eval_m31/games.hpp"
#include "tests/eval_m31/reference.hpp"
#include "tests/eval_m31/settings.hpp"

namespace morvelak::test {
namespace {

TEST(Equivalence, FastRoutinesMatchThePlainRules) {
    std::mt19937 rng(20240531);
    i8 staleB[8] = {}, staleC[8] = {};
    long positions = 0;
    for (int game = 0; game < 250; ++game) {
        set_up(START);
        random_game(rng, 300, [&] {
            ++positions;
            // Now and then a pawn where no game puts one, on the first or last
            // rank, taken away again after the position is scored.
            int stray = 0;
            if (rng() % 24 == 0) {
                const int s = (rng() % 2 ? 11 : 81) + static_cast<int>(rng() % 8);
                if (POS.PL[s] == EMPTY) {
                    stray = s;
                    POS.PL[s] = rng() % 2 ? W_PAWN : B_PAWN;
                }
            }
            for (int setting = 0; setting < 3; ++setting) {
                choose_setting(rng, setting);
                i8 pb[8], pc[8], rb[8], rc[8];
                std::memset(pb, 0x55, 8);
                std::memset(pc, 0x55, 8);
                const int got = OCPION(POS.PL, pb, pc);
                const int want = ref::ocpion(POS.PL, rb, rc);
                ASSERT_EQ(got, want) << "game " << game << " setting " << setting;
                ASSERT_EQ(0, std::memcmp(pb, rb, 8)) << "game " << game;
                ASSERT_EQ(0, std::memcmp(pc, rc, 8)) << "game " << game;
                ASSERT_EQ(OCPOZ(POS.PL, POS.BP, POS.CP, pb, pc), ref::ocpoz(POS.PL, POS.BP, POS.CP, rb, rc))
                    << "game " << game << " setting " << setting;
                ASSERT_EQ(OCPOZ(POS.PL, POS.BP, POS.CP, staleB, staleC), ref::ocpoz(POS.PL, POS.BP, POS.CP, staleB, staleC))
                    << "game " << game << " setting " << setting << " (stale arrays)";
                if (setting == 2) {
                    std::memcpy(staleB, pb, 8);
                    std::memcpy(staleC, pc, 8);
                }
            }
            if (stray != 0) POS.PL[stray] = EMPTY;
        });
        if (HasFatalFailure()) return;
    }
    EXPECT_GT(positions, 20000);
}

// The sweeps that find the pawns on the board and the pieces in a list, the
// fast way against square by square and entry by entry: boards from random
// games with pawns dropped on any square now and then (the first and last
// ranks included), lists with every count and with junk past the count.
TEST(Equivalence, BoardAndListSweeps) {
    std::mt19937 rng(7);
    for (int game = 0; game < 40; ++game) {
        set_up(START);
        random_game(rng, 200, [&] {
            i8 board[100];
            std::memcpy(board, POS.PL, 100);
            for (int k = static_cast<int>(rng() % 3); k > 0; --k) {
                const int s = 11 + static_cast<int>(rng() % 78);
                if (board[s] != BORDER) board[s] = rng() % 2 ? W_PAWN : B_PAWN;
            }
            const PawnMasks fast = pawn_masks(board), plain = pawn_masks_plain(board);
            ASSERT_EQ(fast.white, plain.white);
            ASSERT_EQ(fast.black, plain.black);
            ASSERT_EQ(fast.stray, plain.stray);

            i8 list[2 * LIST_ENTRIES];
            std::memcpy(list, rng() % 2 ? POS.BP : POS.CP, sizeof list);
            if (rng() % 4 == 0) list[2 * (rng() % LIST_ENTRIES)] = static_cast<i8>(rng());
            for (int count = -1; count <= LIST_ENTRIES + 1; ++count) {
                const ListMasks a = list_masks<Side::White>(list, count);
                const ListMasks b = list_masks_plain<Side::White>(list, count);
                const ListMasks c = list_masks<Side::Black>(list, count);
                const ListMasks d = list_masks_plain<Side::Black>(list, count);
                ASSERT_EQ(0, std::memcmp(&a, &b, sizeof a)) << count;
                ASSERT_EQ(0, std::memcmp(&c, &d, sizeof c)) << count;
            }
        });
    }
}

}  // namespace
}  // namespace morvelak::test
