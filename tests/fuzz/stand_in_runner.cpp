// The runner with the stand-in build in the shapes of the three builds: its
// moves are instant, so the sessions are long and the clocks anything.
#include "driver/history.hpp"
#include "tests/driver/stand_in_build.hpp"
#include "tests/fuzz/runner.hpp"

namespace {

using namespace morvelak;

// The newest build's own bound: a ply is taken back only while the position
// before it was stored.
bool bounded_undo(Side) {
    if (R <= 0 || R - 1 >= HISTORY_PLIES) return false;
    history_remove_one();
    return true;
}

BuildPolicy newest() {
    BuildPolicy p = stand_in::NEWEST_LIKE;
    p.history_undo = bounded_undo;
    return p;
}

const BuildPolicy NEWEST = newest();

// The stand-in notes every hook call; a fuzzing run would pile them up.
void forget() {
    stand_in::events.clear();
    stand_in::noted.clear();
}

}  // namespace

int main(int argc, char** argv) {
    return fuzz::runner_main(argc, argv,
                             {{&NEWEST, false, "newest", forget}, {&stand_in::MIDDLE_LIKE, false, "middle", forget},
                              {&stand_in::OLDEST_LIKE, false, "oldest", forget}});
}
