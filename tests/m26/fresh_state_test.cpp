// m26 keeps all it keeps in its state structs: its bench searches come out
// the same after other searches and after a game (tests/common/fresh_state.hpp).
#include <gtest/gtest.h>

#include <string>

#include "driver/game.hpp"
#include "driver/m26/computer_move.hpp"
#include "tests/common/fresh_state.hpp"
#include "tests/m26/support.hpp"

namespace morvelak::test {
namespace {

TEST(FreshState, EveryBenchSearchComesOutTheSameAfterTheOthersAndAfterAGame) {
    expect_fresh_searches(m26::bench_search, {0, 1, 2, 3, 4}, [] {
        // Two moves of an ending: killers, margins, the reply tables, the
        // statistics and the depth control all carry something away.
        set_up("8/5k2/8/3p4/3P4/8/5K2/8 w - - 0 40", 20);
        GAME.TB = GAME.TC = 100;
        std::string move;
        bool moved = false;
        computer_move<Side::White>(move, moved);
        EXPECT_TRUE(moved);
        computer_move<Side::Black>(move, moved);
        EXPECT_TRUE(moved);
    });
}

}  // namespace
}  // namespace morvelak::test
