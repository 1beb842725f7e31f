// The runner with morvelak31 itself: short sessions on small clocks.
#include "driver/m31/protocol31.hpp"
#include "tests/fuzz/runner.hpp"

int main(int argc, char** argv) {
    return morvelak::test::fuzz::runner_main(argc, argv, {{&morvelak::m31::policy(), true, "m31"}});
}
