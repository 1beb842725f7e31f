// Includes engine/search/m31/state.hpp: it compiles only where that
// header's library is linked (tests/layers/CMakeLists.txt).
#include "engine/search/m31/state.hpp"
