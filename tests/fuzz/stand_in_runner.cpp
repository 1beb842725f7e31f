// The runner with the stand-in build in the shapes of the three builds: its
// moves are instant, so the sessions are long and the clocks anything.
#include "driver/history.hpp"
#include "tests/driver/stand_in_build.hpp"
#include "tests/fuzz/runner.hpp"

namespace {

using namespace morvelak;

// m31's own bound: a ply is taken back only while the position
// before it was stored.
bool bounded_undo(Side) {
    if (GAME.R <= 0 || GAME.R - 1 >= HISTORY_PLIES) return false;
    history_remove_one();
    return true;
}

BuildPolicy like_m31() {
    BuildPolicy p = test::LIKE_M31;
    p.history_undo = bounded_undo;
    return p;
}

const BuildPolicy LIKE_M31 = like_m31();

// The stand-in notes every hook call; a fuzzing run would pile them up.
void forget() {
    test::events.clear();
    test::noted.clear();
}

}  // namespace

int main(int argc, char** argv) {
    return test::fuzz::runner_main(argc, argv,
                             {{&LIKE_M31, false, "newest", forget}, {&test::LIKE_M28, false, "middle", forget},
                              {&test::LIKE_M26, false, "oldest", forget}});
}
