// The older builds' OCPOZ against the plain rule-by-rule version in
// reference.hpp, over every position of many random games, for both builds
// and every pair of phases, with random mobility counts.  Now and then a
// pawn is dropped where no game puts one (on the first or last rank, or
// anywhere with the lists not knowing it), or a list names one pawn twice,
// before the position is scored.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "tests/eval_m31/games.hpp"
#include "tests/eval_older/board.hpp"
#include "tests/eval_older/reference.hpp"

namespace morvelak::test {
namespace {

TEST(Equivalence, FastRoutineMatchesThePlainRules) {
    std::mt19937 rng(1926);
    long positions = 0;
    for (int game = 0; game < 200; ++game) {
        set_up(START);
        random_game(rng, 300, [&] {
            ++positions;
            int stray = 0;
            if (rng() % 16 == 0) {
                const int s = rng() % 2 ? (rng() % 2 ? 11 : 81) + static_cast<int>(rng() % 8)
                                        : 21 + static_cast<int>(rng() % 58);
                if (POS.PL[s] == EMPTY) {
                    stray = s;
                    POS.PL[s] = rng() % 2 ? W_PAWN : B_PAWN;
                }
            }
            // Now and then a list naming one pawn twice: in place of another
            // pawn, or in a captured piece's entry as well.
            i8 saved[2 * LIST_ENTRIES];
            i8* list = rng() % 2 ? POS.BP : POS.CP;
            const int count = list == POS.BP ? POS.ILB : POS.ILC;
            std::memcpy(saved, list, sizeof saved);
            if (rng() % 16 == 0) {
                const i8 pawn = list == POS.BP ? W_PAWN : B_PAWN;
                const bool intoHole = rng() % 2 == 0;
                int first = -1;
                for (int i = 0; i < count; ++i) {
                    if (first < 0 && list[2 * i] == pawn) {
                        first = i;
                    } else if (first >= 0 && list[2 * i] == (intoHole ? EMPTY : pawn)) {
                        list[2 * i] = pawn;
                        list[2 * i + 1] = list[2 * first + 1];
                        break;
                    }
                }
            }
            for (int phases = 0; phases < 9; ++phases) {
                EVAL.STANB = static_cast<i8>(phases / 3);
                EVAL.STANC = static_cast<i8>(phases % 3);
                EVAL.ILOSCPOLB = std::uniform_int_distribution<int>(0, 60)(rng);
                EVAL.ILOSCPOLC = std::uniform_int_distribution<int>(0, 60)(rng);
                ASSERT_EQ(m28::OCPOZ(POS.PL, POS.BP, POS.CP), ref::ocpoz(m28::TABLES, POS.PL, POS.BP, POS.CP))
                    << "game " << game << " phases " << phases;
                ASSERT_EQ(m26::OCPOZ(POS.PL, POS.BP, POS.CP), ref::ocpoz(m26::TABLES, POS.PL, POS.BP, POS.CP))
                    << "game " << game << " phases " << phases;
            }
            std::memcpy(list, saved, sizeof saved);
            if (stray != 0) POS.PL[stray] = EMPTY;
        });
        if (HasFatalFailure()) return;
    }
    EXPECT_GT(positions, 20000);
}

}  // namespace
}  // namespace morvelak::test
