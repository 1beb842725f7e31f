// Includes engine/position/types.hpp: it compiles only where that
// header's library is linked (tests/layers/CMakeLists.txt).
#include "engine/position/types.hpp"
