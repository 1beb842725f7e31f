// Command streams against the stand-in build in the three builds' shapes
// (the second byte chooses the shape).
#include "driver/history.hpp"
#include "tests/driver/stand_in_build.hpp"
#include "tests/fuzz/libfuzzer/fuzz_main.hpp"

namespace {

using namespace morvelak;

bool bounded_undo(Side) {
    if (GAME.R <= 0 || GAME.R - 1 >= HISTORY_PLIES) return false;
    history_remove_one();
    return true;
}

BuildPolicy newest() {
    BuildPolicy p = test::LIKE_M31;
    p.history_undo = bounded_undo;
    return p;
}

const BuildPolicy NEWEST = newest();

// The stand-in notes every hook call; a fuzzing run would pile them up.
void forget() {
    test::events.clear();
    test::noted.clear();
}
const test::fuzz::Engine SHAPES[] = {{&NEWEST, false, "newest", forget},
                                     {&test::LIKE_M28, false, "middle", forget},
                                     {&test::LIKE_M26, false, "oldest", forget}};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    test::fuzz::protocol_input(SHAPES[data[0] % 3], data + 1, size - 1, 4000);
    return 0;
}
