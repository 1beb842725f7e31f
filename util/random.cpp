#include "util/random.hpp"

#include <ctime>

namespace morvelak {

void Random::seed_from_clock() { seed(static_cast<std::uint64_t>(std::time(nullptr))); }

}  // namespace morvelak
