// What every libFuzzer target shares: a scratch folder of its own, and a
// failed check reported and turned into a crash, which libFuzzer keeps.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/fuzz/harness.hpp"

namespace morvelak::test::fuzz {

inline void must_hold(const std::string& failure, const std::string& input) {
    if (failure.empty()) return;
    std::fprintf(stderr, "check failed: %s\ninput:\n%s\n", failure.c_str(), input.c_str());
    std::abort();
}

// A command stream from the fuzzer's bytes: the first byte chooses between
// the bytes themselves and lines generated from the rest.
inline void protocol_input(const Engine& engine, const std::uint8_t* data, std::size_t size, int lines) {
    if (size == 0) return;
    if (data[0] & 1) {
        const std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
        const Verdict v = raw_session(engine, bytes);
        must_hold(v.failure, v.transcript);
    } else {
        ByteChooser chooser(data + 1, size - 1);
        const Verdict v = generated_session(engine, chooser, lines);
        must_hold(v.failure, v.transcript);
    }
}

}  // namespace morvelak::test::fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    morvelak::test::fuzz::enter_scratch_folder();
    return 0;
}
