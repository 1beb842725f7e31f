// The runner with the stand-in build in the shapes of the three builds.
#include "tests/fuzz/runner.hpp"
#include "tests/fuzz/stand_in_shapes.hpp"

int main(int argc, char** argv) {
    using morvelak::test::fuzz::STAND_IN_SHAPES;
    return morvelak::test::fuzz::runner_main(argc, argv, {STAND_IN_SHAPES.begin(), STAND_IN_SHAPES.end()});
}
