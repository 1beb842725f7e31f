// The runner with morvelak26 itself: short sessions on small clocks.
#include "driver/m26/protocol26.hpp"
#include "tests/fuzz/runner.hpp"

int main(int argc, char** argv) {
    return morvelak::test::fuzz::runner_main(argc, argv, {{&morvelak::m26::policy(), true, "m26"}});
}
