// The program's pseudo-random generator: a 64-bit linear congruential state,
// each draw returning 31 bits.  Seeded from the calendar clock at start-up
// and again by every book look-up.
#pragma once

#include <cstdint>

namespace morvelak {

void seed_random(std::uint64_t seed);
std::uint32_t random31();
// Seeds from the current calendar time in seconds.
void seed_random_from_clock();

}  // namespace morvelak
