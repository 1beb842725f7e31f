// The board file: the fuzzer's bytes as they are (first byte odd) or a board
// file made from them.
#include "tests/fuzz/libfuzzer/fuzz_main.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace morvelak::test::fuzz;
    if (size == 0) return 0;
    std::string text;
    if (data[0] & 1) {
        text.assign(reinterpret_cast<const char*>(data + 1), size - 1);
    } else {
        ByteChooser chooser(data + 1, size - 1);
        text = make_board_file(chooser);
    }
    must_hold(check_board_file(text), text);
    return 0;
}
