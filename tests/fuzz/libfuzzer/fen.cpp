// FEN: the fuzzer's bytes as they are (first byte odd) or a FEN made from
// them, most of them positions the parser accepts, where the engine's legal
// moves are compared with the referee's.
#include "tests/fuzz/libfuzzer/fuzz_main.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace morvelak::test::fuzz;
    if (size == 0) return 0;
    std::string text;
    if (data[0] & 1) {
        text.assign(reinterpret_cast<const char*>(data + 1), size - 1);
    } else {
        ByteChooser chooser(data + 1, size - 1);
        text = make_fen(chooser);
    }
    must_hold(check_fen(text), text);
    return 0;
}
