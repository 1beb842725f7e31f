// Includes driver/m31/computer_move.hpp: it compiles only where that
// header's library is linked (tests/layers/CMakeLists.txt).
#include "driver/m31/computer_move.hpp"
