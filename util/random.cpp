#include "util/random.hpp"

#include <ctime>

namespace morvelak {

namespace {
std::uint64_t state = 0;
}

void seed_random(std::uint64_t seed) { state = seed; }

std::uint32_t random31() {
    state = state * 0x015A4E35u + 1;
    return static_cast<std::uint32_t>((state >> 32) & 0x7FFFFFFFu);
}

void seed_random_from_clock() { seed_random(static_cast<std::uint64_t>(std::time(nullptr))); }

}  // namespace morvelak
