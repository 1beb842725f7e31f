// Command streams against morvelak31 itself, on small clocks.
#include "driver/m31/protocol31.hpp"
#include "tests/fuzz/libfuzzer/fuzz_main.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const morvelak::test::fuzz::Engine engine{&morvelak::m31::policy(), true, "m31"};
    morvelak::test::fuzz::protocol_input(engine, data, size, 80);
    return 0;
}
