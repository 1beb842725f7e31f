// Includes engine/search/control.hpp: it compiles only where that
// header's library is linked (tests/layers/CMakeLists.txt).
#include "engine/search/control.hpp"
