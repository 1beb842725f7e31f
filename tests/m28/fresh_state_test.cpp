// m28 keeps all it keeps in its state structs: its bench searches come out
// the same after other searches and after a game (tests/common/fresh_state.hpp).
#include <gtest/gtest.h>

#include "driver/game.hpp"
#include "driver/m28/computer_move.hpp"
#include "tests/common/fresh_state.hpp"
#include "tests/m28/support.hpp"

namespace morvelak::test {
namespace {

TEST(FreshState, BenchSearchesComeOutTheSameAfterTheOthersAndAfterAGame) {
    // The start and the Sicilian: the other positions take long under the
    // sanitizers, and two are enough to carry state from one to the other.
    expect_fresh_searches(m28::bench_search, {0, 3}, [] {
        // Two moves of an ending: killers, margins, the position table and
        // the depth control all carry something away.
        Progress progress;
        Record record;
        set_up("8/5k2/8/3p4/3P4/8/5K2/8 w - - 0 40", 20);
        GAME.TB = GAME.TC = 1000;
        char m[4];
        EXPECT_TRUE(ruchkomputerbiale(m));
        EXPECT_TRUE(ruchkomputerczarne(m));
    });
}

}  // namespace
}  // namespace morvelak::test
