#include "engine/position/position.hpp"

namespace morvelak {

Position POS{};

}  // namespace morvelak
