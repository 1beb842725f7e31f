// Command streams against the stand-in build in the three builds' shapes:
// the first byte chooses the shape, the rest is read as by every protocol
// target.
#include "tests/fuzz/libfuzzer/fuzz_main.hpp"
#include "tests/fuzz/stand_in_shapes.hpp"

using namespace morvelak;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const auto& shapes = test::fuzz::STAND_IN_SHAPES;
    test::fuzz::protocol_input(shapes[data[0] % shapes.size()], data + 1, size - 1, 4000);
    return 0;
}
