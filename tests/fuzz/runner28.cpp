// The runner with morvelak28 itself: short sessions on small clocks.
#include "driver/m28/protocol28.hpp"
#include "tests/fuzz/runner.hpp"

int main(int argc, char** argv) {
    return morvelak::test::fuzz::runner_main(argc, argv, {{&morvelak::m28::policy(), true, "m28"}});
}
