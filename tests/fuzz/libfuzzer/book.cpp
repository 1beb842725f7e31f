// The book: the fuzzer's bytes as they are (first byte odd) or a book made
// from them; the second byte chooses the game position looked up.
#include "tests/fuzz/libfuzzer/fuzz_main.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace morvelak::test::fuzz;
    if (size < 2) return 0;
    ByteChooser position(data + 1, 1);
    std::string text;
    if (data[0] & 1) {
        text.assign(reinterpret_cast<const char*>(data + 2), size - 2);
    } else {
        ByteChooser chooser(data + 2, size - 2);
        text = make_book(chooser);
    }
    must_hold(check_book(text, position), text);
    return 0;
}
