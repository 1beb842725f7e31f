#include "engine/search/older/state.hpp"

namespace morvelak::older {

i8 I = 0;

}  // namespace morvelak::older
