// The stand-in build in the shapes of the three builds, for the random-stream
// runner and the libFuzzer target alike: its moves are instant, so the
// sessions are long and the clocks anything.
#pragma once

#include <array>

#include "driver/history.hpp"
#include "tests/driver/stand_in_build.hpp"
#include "tests/fuzz/harness.hpp"

namespace morvelak::test::fuzz {

namespace stand_in {

// m31's own bound: a ply is taken back only while the position before it
// was stored.
inline bool bounded_undo(Side) {
    if (GAME.R <= 0 || GAME.R - 1 >= HISTORY_PLIES) return false;
    history_remove_one();
    return true;
}

inline BuildPolicy newest() {
    BuildPolicy p = LIKE_M31;
    p.history_undo = bounded_undo;
    return p;
}

inline const BuildPolicy NEWEST = newest();

// The stand-in notes every hook call; a fuzzing run would pile them up.
inline void forget() {
    events.clear();
    noted.clear();
}

}  // namespace stand_in

// Newest, middle, oldest.
inline const std::array<Engine, 3> STAND_IN_SHAPES = {{{&stand_in::NEWEST, false, "newest", stand_in::forget},
                                                       {&LIKE_M28, false, "middle", stand_in::forget},
                                                       {&LIKE_M26, false, "oldest", stand_in::forget}}};

}  // namespace morvelak::test::fuzz
