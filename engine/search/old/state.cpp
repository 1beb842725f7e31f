#include "engine/search/old/state.hpp"

namespace morvelak::old {

i8 I = 0;

}  // namespace morvelak::old
