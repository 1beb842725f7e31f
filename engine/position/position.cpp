#include "engine/position/position.hpp"

namespace morvelak {

Position POS{};
u32 L = 0;

}  // namespace morvelak
