// Includes driver/game.hpp: it compiles only where that
// header's library is linked (tests/layers/CMakeLists.txt).
#include "driver/game.hpp"
