// m31 keeps all it keeps in its state structs: its bench searches come out
// the same after other searches and after a game (tests/common/fresh_state.hpp).
#include <gtest/gtest.h>

#include "driver/game.hpp"
#include "driver/m31/computer_move.hpp"
#include "tests/common/fresh_state.hpp"
#include "tests/m31/support.hpp"

namespace morvelak::test {
namespace {

TEST(FreshState, EveryBenchSearchComesOutTheSameAfterTheOthersAndAfterAGame) {
    expect_fresh_searches(m31::bench_search, {0, 1, 2, 3, 4}, [] {
        // Two moves of an ending, well into a game: killers, expected
        // replies, the key path, the pawn cache and the depth control all
        // carry something away.
        Thinking thinking;
        set_up("8/5k2/8/3p4/3P4/8/5K2/8 w - - 0 40", 20);
        GAME.zapisparti = std::tmpfile();
        GAME.TB = GAME.TC = 1000;
        char m[4];
        EXPECT_TRUE(ruchkomputerbiale(m));
        EXPECT_TRUE(ruchkomputerczarne(m));
        std::fclose(GAME.zapisparti);
        GAME.zapisparti = nullptr;
    });
}

}  // namespace
}  // namespace morvelak::test
