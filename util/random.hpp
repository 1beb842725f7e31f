// The program's pseudo-random generator: a 64-bit linear congruential state,
// each draw returning 31 bits.  The game's generator is seeded from the
// calendar clock at start-up and again by every book look-up; a test or the
// bench seeds one of its own.
#pragma once

#include <cstdint>

namespace morvelak {

struct Random {
    std::uint64_t state = 0;

    void seed(std::uint64_t seed) { state = seed; }
    // Seeds from the current calendar time in seconds.
    void seed_from_clock();
    std::uint32_t random31() {
        state = state * 0x015A4E35u + 1;
        return static_cast<std::uint32_t>((state >> 32) & 0x7FFFFFFFu);
    }
};

}  // namespace morvelak
